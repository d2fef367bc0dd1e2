#include "unit/file_call_stand_ins.h"

#include <dlfcn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <utility>

FileCallFaults fileCalls;

namespace {

template <typename Function>
Function realFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool isPlainFile(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

extern "C" int rename(const char* from, const char* to) noexcept {
    if (fileCalls.dieAtRename) _exit(3);
    if (fileCalls.beforeRename) std::exchange(fileCalls.beforeRename, nullptr)();
    fileCalls.renamedTo.emplace_back(std::filesystem::path(to).filename());
    static const auto realRename = realFunction<int (*)(const char*, const char*)>("rename");
    return realRename(from, to);
}

extern "C" int flock(int fd, int operation) noexcept {
    if (fileCalls.lockRefusal != 0) {
        errno = fileCalls.lockRefusal;
        return -1;
    }
    static const auto realFlock = realFunction<int (*)(int, int)>("flock");
    const int result = realFlock(fd, operation);
    if (result != 0 && errno == EWOULDBLOCK && fileCalls.busyLockPipe >= 0) {
        const char busy = 'b';
        static_cast<void>(write(std::exchange(fileCalls.busyLockPipe, -1), &busy, 1));
        return realFlock(fd, operation & ~LOCK_NB);
    }
    return result;
}

extern "C" int fsync(int fd) {
    struct stat status {};
    if (fstat(fd, &status) == 0 && (S_ISDIR(status.st_mode) ? fileCalls.failFolderFlush : fileCalls.failFileFlush)) {
        errno = EINVAL;
        return -1;
    }
    static const auto realFsync = realFunction<int (*)(int)>("fsync");
    return realFsync(fd);
}

// A disk with diskSpace bytes free: a write past them is cut short, and the
// next one fails with ENOSPC, as a full disk does.
extern "C" ssize_t write(int fd, const void* bytes, std::size_t count) {
    static const auto realWrite = realFunction<ssize_t (*)(int, const void*, std::size_t)>("write");
    if (fileCalls.diskSpace < 0 || !isPlainFile(fd)) return realWrite(fd, bytes, count);
    if (fileCalls.diskSpace == 0 && count > 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = realWrite(fd, bytes, std::min(count, static_cast<std::size_t>(fileCalls.diskSpace)));
    if (written > 0) fileCalls.diskSpace -= written;
    return written;
}
