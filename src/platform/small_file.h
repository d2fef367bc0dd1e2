#pragma once
// Small files the game keeps for the player: read without ever blocking,
// replaced whole through a flushed temporary file beside them. Plain POSIX.
#include <cstddef>
#include <span>
#include <string>

struct SmallFileContent {
    bool found = false;   // false: there is no such file, which is no problem
    std::string problem;  // why a file that is there cannot be used; empty when it can
    std::string bytes;
};

// At most limit bytes of a plain file. A pipe or device in its place is a
// problem, never a wait; so is anything longer than limit.
SmallFileContent readSmallFile(const std::string& path, std::size_t limit);

// Makes every missing folder down to and including folder, private to the
// user. 0, or the errno of the first that could not be made.
int makeFolders(const std::string& folder);

// Writes bytes to a new file named path + ".XXXXXX" (six random characters),
// flushed and closed, and puts its name in temporary. 0, or an errno; on
// failure nothing is left behind.
int writeTemporaryFile(const std::string& path, std::span<const char> bytes, std::string& temporary);

// The rename into a folder survives a power cut only once the folder is
// flushed. Some file systems refuse that flush; the file is kept all the
// same, so its failure is not one to report.
void flushFolder(const std::string& folder);

// The folder part of an absolute path to a file.
std::string folderOf(const std::string& path);

// The file a save of path really replaces: path itself, or the file at the
// end of the symbolic links path is, so that the rename changes the target
// and the links stay. A target that does not exist yet is made, as editors
// do. Empty, with problem set, when nothing can be kept there: a loop of
// links (or too many of them), a target in a folder that does not exist, or
// one that is not a plain file (a link to /dev/null keeps nothing there and
// leaves /dev/null alone).
std::string fileToReplace(const std::string& path, std::string& problem);
