#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

constexpr double lockWaitSeconds = 0.5;
constexpr long lockRetryNanoseconds = 10'000'000;

double monotonicSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

FileLock::FileLock(const std::string& lockPath) {
    fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    if (fd_ < 0) {
        problem_ = "no lock: " + std::string(std::strerror(errno));
        return;
    }
    const double giveUp = monotonicSeconds() + lockWaitSeconds;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        const int error = errno;
        if (error == ENOLCK || error == EOPNOTSUPP) return;
        if (error != EWOULDBLOCK && error != EINTR) {
            problem_ = "no lock: " + std::string(std::strerror(error));
            return;
        }
        if (monotonicSeconds() >= giveUp) {
            problem_ = "another game held the lock too long";
            return;
        }
        const timespec pause{0, lockRetryNanoseconds};
        ::nanosleep(&pause, nullptr);
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}
