// The best score and the best game kept in the user's data folder.
#include <cstdlib>

#include "platform/best_game_file.h"
#include "platform/best_score_file.h"
#include "platform/platform.h"

namespace {
std::string bestScoreFile() { return bestScorePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }
std::string bestGameFile() { return bestGamePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }
}  // namespace

int loadBestScore() { return readBestScoreFile(bestScoreFile()); }

int saveBestScore(int score, std::span<const std::uint8_t> bestGame) {
    return keepBestScore(bestScoreFile(), score, bestGame);
}

bool loadBestGame(std::vector<std::uint8_t>& bytes) {
    return readBestGameFile(bestGameFile(), bytes, largestBestGameBytes);
}

void reportBadBestGame(const std::string& what) { complainAboutBestGame(bestGameFile(), what); }
