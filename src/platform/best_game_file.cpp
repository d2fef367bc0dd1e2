#include "platform/best_game_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/error_line.h"

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
