#include "platform/best_game_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/error_line.h"

namespace {

bool usableFolder(const char* folder) { return folder && folder[0] == '/'; }

bool failToKeep(const std::string& path, int error) {
    printErrorLine("cannot keep the best game in " + path + ": " + std::strerror(error));
    return false;
}

}  // namespace

std::string bestGamePath(const char* dataHome, const char* home) {
    if (usableFolder(dataHome)) return std::string(dataHome) + "/tubewyrm/best-game";
    if (usableFolder(home)) return std::string(home) + "/.local/share/tubewyrm/best-game";
    return {};
}

void complainAboutBestGame(const std::string& path, const std::string& what) {
    printErrorLine("no replay of the best game in " + path + ": " + what);
}

bool readBestGameFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
    bytes.clear();
    if (path.empty()) return false;  // the best score has said so already
    // Non-blocking, so a pipe put in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) complainAboutBestGame(path, std::strerror(errno));
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        complainAboutBestGame(path, "not a plain file");
        return false;
    }
    if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > maxBytes) {
        ::close(fd);
        complainAboutBestGame(path, "larger than 64 MiB");
        return false;
    }
    // One byte more than the cap, to notice a file that grew since fstat.
    bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t length = 0;
    int readError = 0;
    while (length < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + length, bytes.size() - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readError = errno;
        if (got <= 0) break;
        length += static_cast<std::size_t>(got);
        if (length == bytes.size() && length <= maxBytes) bytes.resize(std::min(maxBytes + 1, length * 2));
    }
    ::close(fd);
    bytes.resize(length);
    if (readError != 0) {
        complainAboutBestGame(path, std::strerror(readError));
        bytes.clear();
        return false;
    }
    if (length > maxBytes) {
        complainAboutBestGame(path, "larger than 64 MiB");
        bytes.clear();
        return false;
    }
    if (length == 0) {
        complainAboutBestGame(path, "the file is empty");
        return false;
    }
    return true;
}

bool writeBestGameFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) return false;
    const std::string folder = path.substr(0, path.rfind('/'));
    // The best score's folder: made by the score's writer when missing.
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        if (::mkdir(folder.substr(0, end).c_str(), 0700) != 0 && errno != EEXIST) return failToKeep(path, errno);
        if (end == std::string::npos) break;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return failToKeep(path, errno);
    int error = 0;
    const std::uint8_t* at = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0 && error == 0) {
        const ssize_t written = ::write(fd, at, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0)
            error = written < 0 ? errno : EIO;
        else {
            at += written;
            left -= static_cast<std::size_t>(written);
        }
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return failToKeep(path, error);
    }
    return true;
}
