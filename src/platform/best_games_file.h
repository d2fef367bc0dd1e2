#pragma once
// The player's ten best games, kept beside best-score: the table, one
// recording file for each game, a new game put in under the best score's
// lock, and a copy of a recording for the player. Plain POSIX, no SDL.
//
// The table, best-games, is text: at most ten lines, best first, one game a
// line, four fields parted by one space and the line ended by a line feed:
//
//     <score> <ended> <play> <recording>
//     1010 1796738580 183.250 1796738580-1010.twrec
//
//   score      decimal digits, 0 to 2147483647
//   ended      when the game ended, decimal seconds since 1970-01-01 UTC,
//              0 to 253402300799 (the last second of the year 9999)
//   play       its length in play time in seconds: up to nine digits, and
//              up to three decimals after a point; 0 when not known (a game
//              an older version kept, taken into the table)
//   recording  the name of its recording file in best-games.d beside the
//              table, or "-" when none is kept: letters, digits, '.', '-',
//              '_', not starting with '.', ending in ".twrec", at most 64
//
// A line that is not of this form, or names a recording an earlier line
// names, is skipped; past the best ten, games are dropped. A save removes
// the recordings the table does not name, unless it could not read it. Temporary files
// are best-games.XXXXXX and best-games.d/<recording>.XXXXXX: never the names
// the best score's own leftovers go by, which an older version removes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

// No table longer than this is read: ten lines take about a kilobyte.
inline constexpr std::size_t largestBestGamesBytes = 4096;

// best-games and best-games.d beside best-score (scorePath, as bestScorePath gives it).
std::string bestGamesPath(const std::string& scorePath);
std::string bestGamesFolder(const std::string& scorePath);

// The games in a table's text, best first, and a line for each kind of
// problem found (which lines, and why), empty when there is none.
BestGames parseBestGames(std::string_view content, std::vector<std::string>& problems);
// The text of a table parseBestGames reads back as the same games.
std::string formatBestGames(const BestGames& games);
// A name the table may give a recording: a plain file name in best-games.d.
bool isRecordingName(std::string_view name);

// The table, with a best-score/best-game pair better than its best (kept by
// an older version meanwhile) taken in first, with a copy of the recording.
// A recording that is not there is dropped from its entry. Each problem is
// told once a run on standard error.
BestGames readBestGames(const std::string& scorePath);

struct FinishedGame {
    int score = 0;
    std::int64_t endedAt = 0;
    double playSeconds = 0.0;
};
// Keeps a finished game: in the table when it enters it (the eleventh drops
// out with its recording) and, as keepBestScore does, as best-score and
// best-game when it is the best; all under best-score.lock. Returns what
// keepBestScore returns. A recording that cannot be kept costs only its
// watch; each failure prints one line on standard error.
int keepFinishedGameIn(const std::string& scorePath, const FinishedGame& game, std::span<const std::uint8_t> recording);

// One kept game's recording, up to largestBestGameBytes. False when there
// is none: silently when none is kept, else after one line naming the file.
bool readBestGamesRecording(const std::string& scorePath, const BestGameEntry& entry, std::vector<std::uint8_t>& bytes);

// Copies a kept game's recording into home as tubewyrm-<score>-<local date
// and time>.twrec (-2, -3... before .twrec when taken), never over a file.
// The path written, or empty after one line on standard error.
std::string exportBestGameTo(const std::string& scorePath, const BestGameEntry& entry, const char* home);

// A moment (seconds since 1970 UTC) in local time through strftime's format;
// question marks when it cannot be told.
std::string formatLocalTime(std::int64_t secondsSince1970, const char* format);
