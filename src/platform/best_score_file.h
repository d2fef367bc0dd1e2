#pragma once
// The best-score file and the recording of the game that made it: where they
// live, what the score file holds, reading it and keeping a new best. Plain
// POSIX, no SDL, so the unit tests run it against real folders.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The score in a file's content: decimal digits and at most one line end, no
// sign, no more than a 32-bit score holds. Anything else is none.
std::optional<int> parseBestScore(std::string_view content);

// dataHome/tubewyrm/best-score, else home/.local/share/tubewyrm/best-score;
// relative or empty folders do not count. Empty when neither is usable.
std::string bestScorePath(const char* dataHome, const char* home);
// best-game beside best-score, under the same rules.
std::string bestGamePath(const char* dataHome, const char* home);

// The kept score, or -1: silently when the file does not exist, after one
// line on standard error naming the file when it cannot be used; the same
// problem with the same file is told once a run.
int readBestScoreFile(const std::string& path);

// Keeps score as the best in path, and bestGame (when not empty) as best-game
// beside it, unless the file already holds a score at least as high: perhaps
// kept meanwhile by another game of the same player. Both files are written
// and flushed under temporary names first, the score first; then, holding
// best-score.lock for at most half a second's wait, the kept score is read
// again and only a higher one renames best-game, then best-score, into place.
// Temporary files of a crashed save older than a minute are removed meanwhile.
// A symbolic link in either place stays: its target is replaced (see
// fileToReplace), and the lock file goes beside the score's target.
//
// The score is the record: a recording that cannot be written or put in
// place (a full disk, the file-size limit) costs one line on standard error
// naming best-game, and the score is kept without it; the best-game left
// there holds another score, which the game never replays as this one.
//
// Returns the best kept afterwards, this game's or another's. When the score
// could not be kept it prints one line on standard error naming the file and
// returns the higher of score and what the file holds, so the title still
// shows the best this player has seen.
int keepBestScore(const std::string& path, int score, std::span<const std::uint8_t> bestGame = {});

// The kept score, or -1 without a word: a damaged file was reported when the
// game started, and at a save it simply counts as none and is replaced.
int quietlyReadBestScore(const std::string& path);

// keepBestScore in three steps, for a save that keeps more under the same
// lock (the table of best games): prepareBestScoreSave before the lock,
// putBestScoreInPlace while holding lockPath, finishBestScoreSave after it.
struct BestScoreSave {
    std::string path;       // best-score as the game names it
    int score = -1;         // the score to keep
    std::string problem;    // why nothing can be kept; empty when it can
    std::string lockPath;   // best-score.lock beside the score's target
    std::string scoreFile;  // what the rename replaces (a link's target)
    std::string scoreTemporary;
    std::string gameFile;  // the same for best-game, when a recording is kept
    std::string gameTemporary;
    std::string gameProblem;  // why the recording cannot be kept with its score
    int renameError = 0;
};
// Writes the score, and bestGame when not empty, under temporary names.
BestScoreSave prepareBestScoreSave(const std::string& path, int score, std::span<const std::uint8_t> bestGame);
// Under the lock: removes crashed saves' leftovers, and puts the files in
// place when the score is above kept, the score read again under the lock.
void putBestScoreInPlace(BestScoreSave& save, int kept);
// Removes what was not put in place; when the lock could not be taken, give
// its problem. Returns what keepBestScore returns, with one line on standard
// error for each failure.
int finishBestScoreSave(BestScoreSave& save, int kept, const std::string& lockProblem = {});
