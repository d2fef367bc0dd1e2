#include "platform/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace {

bool writeWhole(int fd, const char* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, bytes, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

SmallFileContent readSmallFile(const std::string& path, std::size_t limit) {
    SmallFileContent result;
    // Non-blocking, so a pipe put in the file's place cannot hang the game.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            result.found = true;
            result.problem = std::strerror(errno);
        }
        return result;
    }
    result.found = true;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        result.problem = "not a plain file";
        return result;
    }
    // One byte more than allowed tells a file that is too long.
    result.bytes.resize(limit + 1);
    std::size_t length = 0;
    int readError = 0;
    while (length < result.bytes.size()) {
        const ssize_t got = ::read(fd, result.bytes.data() + length, result.bytes.size() - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readError = errno;
        if (got <= 0) break;
        length += static_cast<std::size_t>(got);
    }
    ::close(fd);
    result.bytes.resize(length);
    if (readError != 0) {
        result.problem = std::strerror(readError);
    } else if (length > limit) {
        result.problem = "longer than " + std::to_string(limit) + " bytes";
    }
    if (!result.problem.empty()) result.bytes.clear();
    return result;
}

int makeFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string prefix = folder.substr(0, end);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (end == std::string::npos) return 0;
    }
}

int writeTemporaryFile(const std::string& path, std::span<const char> bytes, std::string& temporary) {
    temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        temporary.clear();
        return error;
    }
    int error = 0;
    errno = 0;
    if (!writeWhole(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) error = errno ? errno : EIO;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        temporary.clear();
    }
    return error;
}

void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    static_cast<void>(::fsync(fd));
    ::close(fd);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileToReplace(const std::string& path, std::string& problem) {
    // As many links as Linux follows in one path before it gives up.
    constexpr int mostLinks = 40;
    problem.clear();
    std::string place = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(place.c_str(), &status) != 0) {
            if (errno != ENOENT) {
                problem = std::strerror(errno);
                return {};
            }
            // The game's own folders are made; a link's are the player's.
            if (links > 0 && (::stat(folderOf(place).c_str(), &status) != 0 || !S_ISDIR(status.st_mode))) {
                problem = "its symbolic link points into a folder that does not exist";
                return {};
            }
            return place;
        }
        if (!S_ISLNK(status.st_mode)) {
            if (links > 0 && !S_ISREG(status.st_mode)) {
                problem = "its symbolic link points to something that is not a plain file";
                return {};
            }
            return place;
        }
        if (links == mostLinks) {
            problem = std::strerror(ELOOP);
            return {};
        }
        // The target is never printed: a link may hold anything, terminal codes too.
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(place.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            problem = std::strerror(length < 0 ? errno : ENAMETOOLONG);
            return {};
        }
        target.resize(static_cast<std::size_t>(length));
        if (!target.starts_with('/')) target.insert(0, folderOf(place) + "/");
        place = std::move(target);
    }
}
