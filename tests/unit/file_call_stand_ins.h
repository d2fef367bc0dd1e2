#pragma once
// Stand-ins for the C library's rename, flock, fsync and write in the whole
// unit test program. Each passes through to the real call until a test sets
// one of these, so a test can crash a save between its temporary file and
// its rename, run another game right there, or make locks, flushes or the
// disk fail.
#include <functional>
#include <string>
#include <vector>

struct FileCallFaults {
    bool dieAtRename = false;            // ends the process with status 3, as a crash would
    std::function<void()> beforeRename;  // runs once, at the next rename
    std::vector<std::string> renamedTo;  // the file names renames replaced, in order
    int lockRefusal = 0;                 // an errno flock fails with, as some homes do
    // A pipe: the first lock found busy writes a byte there and then waits
    // for the lock as long as it takes, so a test knows a game is waiting.
    int busyLockPipe = -1;
    bool failFileFlush = false;
    bool failFolderFlush = false;
    long long diskSpace = -1;  // bytes writes to plain files may still add; -1: no limit
};

// Set back to FileCallFaults{} by each test that changes it.
extern FileCallFaults fileCalls;
