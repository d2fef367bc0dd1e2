#pragma once
// The best-game file: the recording of the game that set the best score,
// read back for the title's replay. Plain POSIX, no SDL.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// dataHome/tubewyrm/best-game, else home/.local/share/tubewyrm/best-game;
// the same folder rules as the best score's. Empty when neither is usable.
std::string bestGamePath(const char* dataHome, const char* home);

// The file's bytes, up to maxBytes. False when there are none to use:
// silently when the file does not exist, otherwise after one line on
// standard error naming the file and what is wrong. The file is left alone.
bool readBestGameFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);

// One line on standard error: the best game in path is not used, and why.
void complainAboutBestGame(const std::string& path, const std::string& what);

// TEMPORARY until the locked save keeps the best game beside the score:
// replaces the file through a flushed temporary file, whole or not at all.
bool writeBestGameFile(const std::string& path, std::span<const std::uint8_t> bytes);
