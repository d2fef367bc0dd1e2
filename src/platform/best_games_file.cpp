#include "platform/best_games_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>
#include <utility>

#include "platform/best_game_file.h"
#include "platform/best_score_file.h"
#include "platform/error_line.h"
#include "platform/file_lock.h"
#include "platform/small_file.h"

namespace {

constexpr std::uint64_t largestScore = 2147483647;
constexpr std::uint64_t lastEnding = 253402300799;  // 9999-12-31 23:59:59 UTC
constexpr std::uint64_t largestWholePlaySeconds = 999'999'999;
constexpr std::int64_t largestPlayMilliseconds = 999'999'999'999;
constexpr std::size_t longestRecordingName = 64;
constexpr std::string_view recordingSuffix = ".twrec";
constexpr std::string_view noRecording = "-";
// Two games that end in the same second with the same score are told apart
// by a number; a hundred is more than can end in one second.
constexpr int mostNamesForOneGame = 100;
constexpr int mostExportCopies = 1000;
// As for the best score's leftovers: a temporary file younger than this may
// belong to a save about to take the lock.
constexpr std::time_t leftoverSeconds = 60;
constexpr std::size_t temporarySuffix = 6;  // the XXXXXX of mkostemp

// What can be wrong with a line of the table; each kind is told once.
enum LineProblem { fine, notFourFields, badScore, badEnding, badPlayTime, badRecording, sharedRecording, kinds };
constexpr std::array<const char*, kinds> lineProblemText = {
    "",
    "not four fields parted by single spaces",
    "the score is not a whole number from 0 to 2147483647",
    "the end is not a second from 1970 to 9999",
    "the play time is not seconds with at most three decimals",
    "the recording is not a file name ending in .twrec",
    "its recording is named by an earlier line",
};

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool readNumber(std::string_view text, std::uint64_t largest, std::uint64_t& value) {
    if (!allDigits(text)) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value <= largest;
}

bool readPlayMilliseconds(std::string_view text, std::int64_t& milliseconds) {
    const std::size_t point = text.find('.');
    std::uint64_t whole = 0;
    if (!readNumber(text.substr(0, point), largestWholePlaySeconds, whole)) return false;
    std::uint64_t fraction = 0;
    if (point != std::string_view::npos) {
        const std::string_view decimals = text.substr(point + 1);
        if (decimals.size() > 3 || !readNumber(decimals, 999, fraction)) return false;
        for (std::size_t i = decimals.size(); i < 3; ++i) fraction *= 10;
    }
    milliseconds = static_cast<std::int64_t>(whole * 1000 + fraction);
    return true;
}

std::int64_t playMilliseconds(double seconds) {
    if (!(seconds > 0.0)) return 0;  // NaN too
    if (seconds * 1000.0 >= static_cast<double>(largestPlayMilliseconds)) return largestPlayMilliseconds;
    return std::llround(seconds * 1000.0);
}

std::vector<std::string_view> splitAtSpaces(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t space = line.find(' ');; space = line.find(' ')) {
        fields.push_back(line.substr(0, space));
        if (space == std::string_view::npos) return fields;
        line.remove_prefix(space + 1);
    }
}

LineProblem parseLine(std::string_view line, BestGameEntry& entry) {
    const std::vector<std::string_view> fields = splitAtSpaces(line);
    if (fields.size() != 4) return notFourFields;
    std::uint64_t score = 0;
    if (!readNumber(fields[0], largestScore, score)) return badScore;
    std::uint64_t ended = 0;
    if (!readNumber(fields[1], lastEnding, ended)) return badEnding;
    std::int64_t milliseconds = 0;
    if (!readPlayMilliseconds(fields[2], milliseconds)) return badPlayTime;
    if (fields[3] != noRecording && !isRecordingName(fields[3])) return badRecording;
    entry.score = static_cast<int>(score);
    entry.endedAt = static_cast<std::int64_t>(ended);
    entry.playSeconds = static_cast<double>(milliseconds) / 1000.0;
    entry.recording = fields[3] == noRecording ? std::string() : std::string(fields[3]);
    return fine;
}

bool bestFirst(const BestGameEntry& a, const BestGameEntry& b) {
    return a.score != b.score ? a.score > b.score : a.endedAt < b.endedAt;
}

// Whether a best score kept beside the table is better than all of it: an
// older version kept it, or a save stopped between the two.
bool betterThanTable(int bestScore, const BestGames& games) {
    return bestScore >= 0 && (games.entries.empty() || bestScore > games.entries.front().score);
}

bool isTemporaryOf(std::string_view name, std::string_view kept) {
    if (name.size() != kept.size() + 1 + temporarySuffix || !name.starts_with(kept) || name[kept.size()] != '.')
        return false;
    const std::string_view suffix = name.substr(kept.size() + 1);
    return std::all_of(suffix.begin(), suffix.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Plain files in folder whose last change is more than a minute old.
std::vector<std::string> oldPlainFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat status {};
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(status.st_mode) && now - status.st_mtime >= leftoverSeconds) names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

bool namedBy(const std::vector<BestGameEntry>& entries, const std::string& name) {
    return std::any_of(entries.begin(), entries.end(), [&](const BestGameEntry& e) { return e.recording == name; });
}

void removeFile(std::string& path) {
    if (!path.empty()) static_cast<void>(::unlink(path.c_str()));
    path.clear();
}

std::string inFolder(const std::string& folder, std::string_view name) {
    std::string path = folder;
    path.append(1, '/').append(name);
    return path;
}

std::string lockPathFor(const std::string& scorePath) {
    std::string ignored;
    const std::string scoreFile = fileToReplace(scorePath, ignored);
    return (scoreFile.empty() ? scorePath : scoreFile) + ".lock";
}

std::string nameStem(const BestGameEntry& entry) {
    return std::to_string(entry.endedAt) + "-" + std::to_string(entry.score);
}

// The table read now. usable: its content, or its absence, may be trusted to
// name every recording kept, so the others may go.
struct TableContent {
    BestGames games;
    bool usable = false;
};

TableContent readTable(const std::string& tablePath) {
    TableContent table;
    const SmallFileContent file = readSmallFile(tablePath, largestBestGamesBytes);
    if (!file.problem.empty()) {
        printErrorLineOnce("ignoring the best games in " + tablePath + ": " + file.problem);
        return table;
    }
    std::vector<std::string> problems;
    table.games = parseBestGames(file.bytes, problems);
    const std::string told = "ignoring part of the best games in " + tablePath + ": ";
    for (const std::string& problem : problems) printErrorLineOnce(told + problem);
    table.usable = true;
    return table;
}

// Replaces the table whole, through a flushed temporary file; false after one
// line on standard error.
bool replaceTable(const std::string& tablePath, const BestGames& games) {
    std::string problem;
    const std::string file = fileToReplace(tablePath, problem);
    if (file.empty()) {
        printErrorLine("cannot keep the best games in " + tablePath + ": " + problem);
        return false;
    }
    const std::string text = formatBestGames(games);
    std::string temporary;
    int error = writeTemporaryFile(file, text, temporary);
    if (error == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = errno;
        removeFile(temporary);
    }
    if (error != 0) {
        printErrorLine("cannot keep the best games in " + tablePath + ": " + std::strerror(error));
        return false;
    }
    flushFolder(folderOf(file));
    return true;
}

// A game on its way into the table, with its recording under a temporary
// name when there is one.
struct Candidate {
    BestGameEntry entry;
    std::string temporary;
    bool entered = false;  // set by putInTable
};

// A name in the recordings folder that neither a file nor the table has.
std::string freeRecordingName(const std::string& folder, const BestGameEntry& entry,
                              const std::vector<BestGameEntry>& entries) {
    for (int n = 1; n <= mostNamesForOneGame; ++n) {
        std::string name = nameStem(entry);
        if (n > 1) name.append(1, '-').append(std::to_string(n));
        name += recordingSuffix;
        struct stat status {};
        if (!namedBy(entries, name) && ::lstat(inFolder(folder, name).c_str(), &status) != 0 && errno == ENOENT)
            return name;
    }
    return {};
}

bool isRecordingTemporary(std::string_view name) {
    if (name.size() <= temporarySuffix + 1) return false;
    const std::string_view kept = name.substr(0, name.size() - temporarySuffix - 1);
    return isRecordingName(kept) && isTemporaryOf(name, kept);
}

// Leftovers of saves that stopped before their renames, and recordings no
// table names (left by a save that stopped before its table went in, or by
// a game that dropped out); the latter only when the table could be read.
void tidyAfterTable(const std::string& scorePath, const BestGames& games, bool tableUsable) {
    const std::string folder = bestGamesFolder(scorePath);
    for (const std::string& name : oldPlainFilesIn(folder)) {
        const bool orphan = tableUsable && isRecordingName(name) && !namedBy(games.entries, name);
        if (orphan || isRecordingTemporary(name)) static_cast<void>(::unlink(inFolder(folder, name).c_str()));
    }
    std::string ignored;
    const std::string tableFile = fileToReplace(bestGamesPath(scorePath), ignored);
    if (tableFile.empty()) return;
    const std::string tableFolder = folderOf(tableFile);
    for (const std::string& name : oldPlainFilesIn(tableFolder))
        if (isTemporaryOf(name, "best-games")) static_cast<void>(::unlink(inFolder(tableFolder, name).c_str()));
}

// Under the lock: the candidates go into the table as read and the best ten
// stay; the recordings of those that made it go into place, then the table;
// the recordings of games that dropped out go. Returns the games as they now
// stand (after a failure, the candidates without recordings).
BestGames putInTable(const std::string& scorePath, const TableContent& table, std::vector<Candidate>& candidates) {
    const std::string folder = bestGamesFolder(scorePath);
    std::vector<Candidate> kept;
    for (const BestGameEntry& entry : table.games.entries) kept.push_back({entry, {}, true});
    // Of equal games, the one already kept stays first: a stable sort after them.
    std::vector<Candidate*> order;
    order.reserve(kept.size() + candidates.size());
    for (Candidate& c : kept) order.push_back(&c);
    for (Candidate& c : candidates) order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
                     [](const Candidate* a, const Candidate* b) { return bestFirst(a->entry, b->entry); });
    BestGames games;
    std::vector<std::string> dropped;
    bool placed = false;
    for (Candidate* c : order) {
        if (games.entries.size() == static_cast<std::size_t>(bestGamesKept)) {
            removeFile(c->temporary);
            c->entered = false;
            if (!c->entry.recording.empty()) dropped.push_back(inFolder(folder, c->entry.recording));
            continue;
        }
        c->entered = true;
        if (!c->temporary.empty()) {
            const std::string name = freeRecordingName(folder, c->entry, table.games.entries);
            const int error = name.empty()                                                          ? EEXIST
                              : ::rename(c->temporary.c_str(), inFolder(folder, name).c_str()) != 0 ? errno
                                                                                                    : 0;
            if (error == 0) {
                c->temporary.clear();
                c->entry.recording = name;
                placed = true;
            } else {
                printErrorLine("cannot keep the recording of a game in " + folder + ": " + std::strerror(error) +
                               "; its score is kept");
                removeFile(c->temporary);
            }
        }
        games.entries.push_back(c->entry);
    }
    // The recordings are on the disk before the table names them.
    if (placed) flushFolder(folder);
    if (!replaceTable(bestGamesPath(scorePath), games)) {
        for (BestGameEntry& entry : games.entries) {
            if (entry.recording.empty() || namedBy(table.games.entries, entry.recording)) continue;
            static_cast<void>(::unlink(inFolder(folder, entry.recording).c_str()));
            entry.recording.clear();
        }
        return games;
    }
    for (const std::string& path : dropped) static_cast<void>(::unlink(path.c_str()));
    tidyAfterTable(scorePath, games, table.usable);
    return games;
}

// best-game beside best-score.
std::string bestGameBeside(const std::string& scorePath) { return folderOf(scorePath) + "/best-game"; }

// The best score kept beside the table as a game of it, ended when the score was written.
BestGameEntry entryOfBestScore(const std::string& scorePath, int bestScore) {
    struct stat status {};
    const std::int64_t written = ::stat(scorePath.c_str(), &status) == 0 ? status.st_mtime : std::time(nullptr);
    return {bestScore, std::clamp<std::int64_t>(written, 0, lastEnding), 0.0, {}};
}

// Under the lock: the best score and best-game beside the table, when better
// than it, as a game for the table, with a copy of the recording.
Candidate olderBest(const std::string& scorePath, int bestScore) {
    Candidate candidate;
    candidate.entry = entryOfBestScore(scorePath, bestScore);
    std::vector<std::uint8_t> bytes;
    // A best-game that cannot be read says so itself; the score still enters.
    if (!readBestGameFile(bestGameBeside(scorePath), bytes, largestBestGameBytes)) return candidate;
    const std::string folder = bestGamesFolder(scorePath);
    int error = makeFolders(folder);
    if (error == 0) {
        const std::string stem = folder + "/" + nameStem(candidate.entry) + std::string(recordingSuffix);
        error = writeTemporaryFile(stem, {reinterpret_cast<const char*>(bytes.data()), bytes.size()},
                                   candidate.temporary);
    }
    if (error != 0)
        printErrorLine("cannot copy the best game into " + folder + ": " + std::strerror(error) +
                       "; its score is kept");
    return candidate;
}

void dropMissingRecordings(const std::string& scorePath, BestGames& games) {
    const std::string folder = bestGamesFolder(scorePath);
    for (BestGameEntry& entry : games.entries) {
        if (entry.recording.empty()) continue;
        const std::string path = inFolder(folder, entry.recording);
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) continue;
        printErrorLineOnce("no replay of the game in " + path + ": it is not there");
        entry.recording.clear();
    }
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::string bestGamesPath(const std::string& scorePath) { return folderOf(scorePath) + "/best-games"; }

std::string bestGamesFolder(const std::string& scorePath) { return folderOf(scorePath) + "/best-games.d"; }

bool isRecordingName(std::string_view name) {
    if (name.size() <= recordingSuffix.size() || name.size() > longestRecordingName) return false;
    if (name.front() == '.' || !name.ends_with(recordingSuffix)) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
               c == '_';
    });
}

BestGames parseBestGames(std::string_view content, std::vector<std::string>& problems) {
    std::array<int, kinds> firstLine{};
    std::array<int, kinds> count{};
    BestGames games;
    std::set<std::string, std::less<>> names;
    for (int number = 1; !content.empty(); ++number) {
        const std::size_t end = content.find('\n');
        const std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        BestGameEntry entry;
        LineProblem problem = parseLine(line, entry);
        if (problem == fine && !entry.recording.empty() && !names.insert(entry.recording).second)
            problem = sharedRecording;
        if (problem == fine) {
            games.entries.push_back(std::move(entry));
        } else if (count[problem]++ == 0) {
            firstLine[problem] = number;
        }
    }
    problems.clear();
    for (int kind = 1; kind < kinds; ++kind) {
        if (count[kind] == 0) continue;
        const std::string where = count[kind] == 1 ? "line " + std::to_string(firstLine[kind])
                                                   : std::to_string(count[kind]) + " lines from line " +
                                                         std::to_string(firstLine[kind]) + " on";
        problems.push_back(where + ": " + lineProblemText[kind]);
    }
    std::stable_sort(games.entries.begin(), games.entries.end(), bestFirst);
    if (games.entries.size() > bestGamesKept) {
        problems.push_back("only the best ten of " + std::to_string(games.entries.size()) + " games are kept");
        games.entries.resize(bestGamesKept);
    }
    return games;
}

std::string formatBestGames(const BestGames& games) {
    std::string text;
    for (const BestGameEntry& entry : games.entries) {
        const std::int64_t milliseconds = playMilliseconds(entry.playSeconds);
        char numbers[64];
        const int length = std::snprintf(
            numbers, sizeof numbers, "%d %lld %lld.%03lld ", entry.score, static_cast<long long>(entry.endedAt),
            static_cast<long long>(milliseconds / 1000), static_cast<long long>(milliseconds % 1000));
        text.append(numbers, static_cast<std::size_t>(length));
        text += entry.recording.empty() ? std::string(noRecording) : entry.recording;
        text += '\n';
    }
    return text;
}

BestGames readBestGames(const std::string& scorePath) {
    if (scorePath.empty()) return {};  // the best score has said so already
    const std::string tablePath = bestGamesPath(scorePath);
    TableContent table = readTable(tablePath);
    // A table that cannot be read is left for a save to replace.
    if (table.usable && betterThanTable(quietlyReadBestScore(scorePath), table.games)) {
        const FileLock lock(lockPathFor(scorePath));
        if (lock.problem().empty()) {
            // Again under the lock: another game may have taken it in.
            table = readTable(tablePath);
            const int bestScore = quietlyReadBestScore(scorePath);
            if (table.usable && betterThanTable(bestScore, table.games)) {
                std::vector<Candidate> candidates = {olderBest(scorePath, bestScore)};
                table.games = putInTable(scorePath, table, candidates);
            }
        } else {
            printErrorLineOnce("cannot take the best score into " + tablePath + ": " + lock.problem());
        }
    }
    // Shown all the same, without a watch, when it could not be taken in.
    const int bestScore = quietlyReadBestScore(scorePath);
    if (betterThanTable(bestScore, table.games)) {
        table.games.entries.insert(table.games.entries.begin(), entryOfBestScore(scorePath, bestScore));
        table.games.entries.resize(std::min<std::size_t>(table.games.entries.size(), bestGamesKept));
    }
    dropMissingRecordings(scorePath, table.games);
    return table.games;
}

int keepFinishedGameIn(const std::string& scorePath, const FinishedGame& game,
                       std::span<const std::uint8_t> recording) {
    if (scorePath.empty()) {
        printErrorLine("cannot keep the game: neither XDG_DATA_HOME nor HOME names a folder");
        return game.score;
    }
    if (game.score < 0) return quietlyReadBestScore(scorePath);
    // No game lowers the best score, so below it best-game need not be written.
    const bool mayBeBest = game.score > quietlyReadBestScore(scorePath);
    BestScoreSave scoreSave = prepareBestScoreSave(scorePath, game.score,
                                                   mayBeBest ? recording : std::span<const std::uint8_t>{});
    if (!scoreSave.problem.empty()) return finishBestScoreSave(scoreSave, -1);

    // This game last: of equal games the one kept before stays first.
    std::vector<Candidate> candidates(1);
    Candidate& finished = candidates.back();
    finished.entry.score = game.score;
    finished.entry.endedAt = std::clamp<std::int64_t>(game.endedAt, 0, lastEnding);
    finished.entry.playSeconds = static_cast<double>(playMilliseconds(game.playSeconds)) / 1000.0;
    const std::string folder = bestGamesFolder(scorePath);
    std::string recordingProblem;
    if (!recording.empty()) {
        int error = makeFolders(folder);
        if (error == 0) {
            const std::string stem = folder + "/" + nameStem(finished.entry) + std::string(recordingSuffix);
            error = writeTemporaryFile(stem, {reinterpret_cast<const char*>(recording.data()), recording.size()},
                                       finished.temporary);
        }
        if (error != 0) recordingProblem = std::strerror(error);
    }

    int kept = -1;
    std::string lockProblem;
    {
        const FileLock lock(scoreSave.lockPath);
        lockProblem = lock.problem();
        if (lockProblem.empty()) {
            kept = quietlyReadBestScore(scoreSave.scoreFile);
            const TableContent table = readTable(bestGamesPath(scorePath));
            // Copied before this game's best-game can replace it.
            if (betterThanTable(kept, table.games)) candidates.insert(candidates.begin(), olderBest(scorePath, kept));
            putBestScoreInPlace(scoreSave, kept);
            putInTable(scorePath, table, candidates);
        }
    }
    for (Candidate& candidate : candidates) removeFile(candidate.temporary);
    if (candidates.back().entered && !recordingProblem.empty())
        printErrorLine("cannot keep the recording of a game in " + folder + ": " + recordingProblem +
                       "; its score is kept");
    return finishBestScoreSave(scoreSave, kept, lockProblem);
}

bool readBestGamesRecording(const std::string& scorePath, const BestGameEntry& entry,
                            std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (entry.recording.empty() || scorePath.empty()) return false;
    const std::string folder = bestGamesFolder(scorePath);
    // The name may come from anywhere: never a path out of the folder.
    if (!isRecordingName(entry.recording)) {
        complainAboutBestGame(folder, "a recording's name that is not a file name");
        return false;
    }
    const std::string path = inFolder(folder, entry.recording);
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 && errno == ENOENT) {
        complainAboutBestGame(path, "it is not there");
        return false;
    }
    return readBestGameFile(path, bytes, largestBestGameBytes);
}

std::string exportBestGameTo(const std::string& scorePath, const BestGameEntry& entry, const char* home) {
    std::vector<std::uint8_t> bytes;
    if (!readBestGamesRecording(scorePath, entry, bytes)) {
        if (entry.recording.empty()) printErrorLine("cannot export the game: no recording of it is kept");
        return {};
    }
    if (!home || home[0] != '/') {
        printErrorLine("cannot export the game: HOME names no folder");
        return {};
    }
    std::string folder = home;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder == "/") folder.clear();
    const std::string stem = folder + "/tubewyrm-" + std::to_string(entry.score) + "-" +
                             formatLocalTime(entry.endedAt, "%Y-%m-%d-%H%M");
    for (int n = 1; n <= mostExportCopies; ++n) {
        std::string path = stem;
        if (n > 1) path.append(1, '-').append(std::to_string(n));
        path += ".twrec";
        // O_EXCL: a file of that name, or a link there, is never written over.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        int error = fd < 0 ? errno : 0;
        if (fd >= 0) {
            errno = 0;
            if (!writeAll(fd, bytes) || ::fsync(fd) != 0) error = errno != 0 ? errno : EIO;
            if (::close(fd) != 0 && error == 0) error = errno;
            if (error != 0) static_cast<void>(::unlink(path.c_str()));
        }
        if (error == 0) return path;
        printErrorLine("cannot export the game to " + path + ": " + std::strerror(error));
        return {};
    }
    printErrorLine("cannot export the game to " + stem + ".twrec: " + std::to_string(mostExportCopies) +
                   " copies are there already");
    return {};
}

std::string formatLocalTime(std::int64_t secondsSince1970, const char* format) {
    const auto moment = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    char text[64];
    if (!::localtime_r(&moment, &local)) return "?";
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return length == 0 ? "?" : std::string(text, length);
}
