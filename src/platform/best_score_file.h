#pragma once
// The best-score file: where it lives, what it holds, reading and replacing
// it. Plain POSIX, no SDL, so the unit tests run it against real folders.
#include <optional>
#include <string>
#include <string_view>

// The score in a file's content: decimal digits and at most one line end, no
// sign, no more than a 32-bit score holds. Anything else is none.
std::optional<int> parseBestScore(std::string_view content);

// dataHome/tubewyrm/best-score, else home/.local/share/tubewyrm/best-score;
// relative or empty folders do not count. Empty when neither is usable.
std::string bestScorePath(const char* dataHome, const char* home);

// The kept score, or -1: silently when the file does not exist, after one
// line on standard error naming the file when it cannot be used.
int readBestScoreFile(const std::string& path);

// Makes the missing folders and replaces the file through a flushed temporary
// file in the same folder, so a crash leaves the old or the new score. False,
// after one line on standard error naming the file, when it could not be kept.
bool writeBestScoreFile(const std::string& path, int score);
