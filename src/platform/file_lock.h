#pragma once
// The lock a game holds while it reads a kept file again and replaces it, so
// that two running games of one player never lose what the other kept in the
// meantime. Plain POSIX.
#include <string>

class FileLock {
public:
    // Locks lockPath, made when missing, waiting for another game's lock at
    // most half a second: it holds it only for a read and a rename, so a
    // longer hold means it is stuck, and the game must not wait on it.
    explicit FileLock(const std::string& lockPath);
    ~FileLock();  // releases the lock
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Empty when the file may be replaced now: the lock is held, or the file
    // system refuses locks (some network and FUSE homes), where a game saves
    // as if alone. Otherwise why it may not.
    const std::string& problem() const { return problem_; }

private:
    int fd_ = -1;
    std::string problem_;
};
