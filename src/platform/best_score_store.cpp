// The best score, the best game and the table of best games kept in the
// user's data folder.
#include <cstdlib>
#include <ctime>

#include "platform/best_game_file.h"
#include "platform/best_games_file.h"
#include "platform/best_score_file.h"
#include "platform/error_line.h"
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

BestGames loadBestGames() { return readBestGames(bestScoreFile()); }

int keepFinishedGame(int score, double playSeconds, std::span<const std::uint8_t> recording) {
    return keepFinishedGameIn(bestScoreFile(), {score, std::time(nullptr), playSeconds}, recording);
}

bool loadBestGamesRecording(const BestGameEntry& entry, std::vector<std::uint8_t>& bytes) {
    return readBestGamesRecording(bestScoreFile(), entry, bytes);
}

void reportBadBestGamesRecording(const BestGameEntry& entry, const std::string& what) {
    printErrorLine("no replay of the game in " + bestGamesFolder(bestScoreFile()) + "/" + entry.recording + ": " +
                   what);
}

std::string exportBestGame(const BestGameEntry& entry) {
    return exportBestGameTo(bestScoreFile(), entry, std::getenv("HOME"));
}

std::string localDateAndTime(std::int64_t secondsSince1970) {
    return formatLocalTime(secondsSince1970, "%Y-%m-%d %H:%M");
}
