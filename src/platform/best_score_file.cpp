#include "platform/best_score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/error_line.h"

namespace {

constexpr std::size_t maxDigits = 10;  // 2147483647
// Longer than any score and its line end: such a file is not ours.
constexpr std::size_t longestContent = maxDigits + 1;

bool usableFolder(const char* folder) { return folder && folder[0] == '/'; }

void complainAbout(const std::string& path, const char* what) {
    printErrorLine("ignoring the best score in " + path + ": " + what);
}

bool failToKeep(const std::string& path, int error) {
    printErrorLine("cannot keep the best score in " + path + ": " + std::strerror(error));
    return false;
}

// Every missing folder down to and including folder; private, as the data
// folder's own rules ask. 0, or the errno of the first that could not be made.
int makeFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string prefix = folder.substr(0, end);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (end == std::string::npos) return 0;
    }
}

bool writeWhole(int fd, const char* text, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, text, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

std::optional<int> parseBestScore(std::string_view content) {
    if (!content.empty() && content.back() == '\n') content.remove_suffix(1);
    if (content.empty() || content.size() > maxDigits) return std::nullopt;
    for (char c : content)
        if (c < '0' || c > '9') return std::nullopt;
    int score = 0;
    const auto [end, error] = std::from_chars(content.data(), content.data() + content.size(), score);
    if (error != std::errc{} || end != content.data() + content.size()) return std::nullopt;
    return score;
}

std::string bestScorePath(const char* dataHome, const char* home) {
    if (usableFolder(dataHome)) return std::string(dataHome) + "/tubewyrm/best-score";
    if (usableFolder(home)) return std::string(home) + "/.local/share/tubewyrm/best-score";
    return {};
}

int readBestScoreFile(const std::string& path) {
    if (path.empty()) {
        printErrorLine("no best score: neither XDG_DATA_HOME nor HOME names a folder");
        return -1;
    }
    // Non-blocking, so a pipe put in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) complainAbout(path, std::strerror(errno));
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        complainAbout(path, "not a plain file");
        return -1;
    }
    char content[longestContent + 1];
    std::size_t length = 0;
    int readError = 0;
    while (length < sizeof content) {
        const ssize_t got = ::read(fd, content + length, sizeof content - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readError = errno;
        if (got <= 0) break;
        length += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (readError != 0) {
        complainAbout(path, std::strerror(readError));
        return -1;
    }
    if (length > longestContent) {
        complainAbout(path, "too large to hold a score");
        return -1;
    }
    const std::optional<int> score = parseBestScore({content, length});
    if (!score) {
        complainAbout(path, length == 0 ? "the file is empty" : "not a score");
        return -1;
    }
    return *score;
}

bool writeBestScoreFile(const std::string& path, int score) {
    if (path.empty()) {
        printErrorLine("cannot keep the best score: neither XDG_DATA_HOME nor HOME names a folder");
        return false;
    }
    if (score < 0) return false;
    const std::string folder = path.substr(0, path.rfind('/'));
    if (const int error = makeFolders(folder)) return failToKeep(path, error);
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return failToKeep(path, errno);

    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        ::close(folderFd);
        return failToKeep(path, error);
    }
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d\n", score);
    int error = 0;
    errno = 0;
    if (!writeWhole(fd, text, static_cast<std::size_t>(length)) || ::fsync(fd) != 0) error = errno ? errno : EIO;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        ::close(folderFd);
        return failToKeep(path, error);
    }
    // The rename itself is only safe from a power cut once the folder is flushed.
    if (::fsync(folderFd) != 0) error = errno;
    ::close(folderFd);
    return error == 0 || failToKeep(path, error);
}
