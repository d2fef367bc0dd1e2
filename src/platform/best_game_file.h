#pragma once
// Recorded games read from disk: the best-game file, the recording of the
// game that set the best score, read back for the title's replay, and a
// recording named on the command line. Plain POSIX, no SDL.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Its path is bestGamePath in best_score_file.h: it is kept with the score.

// Why a recording file's bytes cannot be used; problem is empty when they can.
struct RecordingRead {
    bool missing = false;  // there is no such file
    std::string problem;
};
// A recording file's bytes, up to maxBytes (none when there is a problem).
RecordingRead readRecordingFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);

// The best game's bytes, up to maxBytes. False when there are none to use:
// silently when the file does not exist, otherwise after one line on
// standard error naming the file and what is wrong. The file is left alone.
bool readBestGameFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);

// One line on standard error: the best game in path is not used, and why.
void complainAboutBestGame(const std::string& path, const std::string& what);
