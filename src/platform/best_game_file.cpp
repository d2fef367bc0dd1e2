#include "platform/best_game_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/error_line.h"

void complainAboutBestGame(const std::string& path, const std::string& what) {
    printErrorLine("no replay of the best game in " + path + ": " + what);
}

RecordingRead readRecordingFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
    bytes.clear();
    RecordingRead result;
    // Non-blocking, so a pipe put in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        result.missing = errno == ENOENT;
        result.problem = std::strerror(errno);
        return result;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        result.problem = "not a plain file";
        return result;
    }
    if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > maxBytes) {
        ::close(fd);
        result.problem = "larger than 64 MiB";
        return result;
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
    if (readError != 0)
        result.problem = std::strerror(readError);
    else if (length > maxBytes)
        result.problem = "larger than 64 MiB";
    else if (length == 0)
        result.problem = "the file is empty";
    if (!result.problem.empty()) bytes.clear();
    return result;
}

bool readBestGameFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
    bytes.clear();
    if (path.empty()) return false;  // the best score has said so already
    const RecordingRead read = readRecordingFileBytes(path, bytes, maxBytes);
    if (read.problem.empty()) return true;
    if (!read.missing) complainAboutBestGame(path, read.problem);
    return false;
}
