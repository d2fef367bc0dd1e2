#include "platform/best_score_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>

#include "platform/error_line.h"
#include "platform/file_lock.h"
#include "platform/small_file.h"

namespace {

constexpr std::size_t maxDigits = 10;  // 2147483647
// Longer than any score and its line end: such a file is not ours.
constexpr std::size_t longestContent = maxDigits + 1;

// A save takes its lock well within a second of writing its temporary files,
// so one older than this was left by a save that never finished.
constexpr std::time_t leftoverSeconds = 60;
constexpr std::size_t temporarySuffix = 6;  // the XXXXXX of mkostemp

bool usableFolder(const char* folder) { return folder && folder[0] == '/'; }

std::string gameFileBeside(const std::string& scorePath) { return folderOf(scorePath) + "/best-game"; }

// The kept score, or -1; problem says why when a file is there but unusable.
int readScore(const std::string& path, std::string& problem) {
    const SmallFileContent file = readSmallFile(path, longestContent);
    problem = file.problem;
    if (!file.found || !problem.empty()) return -1;
    const std::optional<int> score = parseBestScore(file.bytes);
    if (score) return *score;
    problem = file.bytes.empty() ? "the file is empty" : "not a score";
    return -1;
}

int failToKeep(const std::string& path, int score, const std::string& why) {
    printErrorLine("cannot keep the best score in " + path + ": " + why);
    return std::max(score, quietlyReadBestScore(path));
}

bool isTemporaryName(std::string_view name) {
    for (const std::string_view prefix : {std::string_view("best-score."), std::string_view("best-game.")}) {
        if (name.size() != prefix.size() + temporarySuffix || !name.starts_with(prefix)) continue;
        const std::string_view suffix = name.substr(prefix.size());
        return std::all_of(suffix.begin(), suffix.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    }
    return false;
}

// Temporary files of saves that crashed before their rename; never the ones
// of this save (a network home's clock may be far off) nor recent ones
// (another game may be about to rename them).
void removeLeftovers(const std::string& folder, const std::string& ownGame, const std::string& ownScore) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isTemporaryName(name)) continue;
        std::string path = folder;
        path.append("/").append(name);
        if (path == ownGame || path == ownScore) continue;
        struct stat status {};
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(status.st_mode) || now - status.st_mtime < leftoverSeconds) continue;
        static_cast<void>(::unlinkat(::dirfd(dir), entry->d_name, 0));
    }
    ::closedir(dir);
}

void removeFile(std::string& path) {
    if (!path.empty()) static_cast<void>(::unlink(path.c_str()));
    path.clear();
}

// Renames from into to; on success from is gone and its name is forgotten.
int renameInto(std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return errno;
    from.clear();
    return 0;
}

}  // namespace

std::optional<int> parseBestScore(std::string_view content) {
    if (!content.empty() && content.back() == '\n') content.remove_suffix(1);
    if (content.empty() || content.size() > maxDigits) return std::nullopt;
    for (char c : content)
        if (c < '0' || c > '9') return std::nullopt;
    int score = 0;
    const auto [end, error] = std::from_chars(content.data(), content.data() + content.size(), score);
    if (error != std::errc{} || end != content.data() + content.size()) return std::nullopt;
    return score;
}

std::string bestScorePath(const char* dataHome, const char* home) {
    if (usableFolder(dataHome)) return std::string(dataHome) + "/tubewyrm/best-score";
    if (usableFolder(home)) return std::string(home) + "/.local/share/tubewyrm/best-score";
    return {};
}

std::string bestGamePath(const char* dataHome, const char* home) {
    const std::string scorePath = bestScorePath(dataHome, home);
    return scorePath.empty() ? scorePath : gameFileBeside(scorePath);
}

int readBestScoreFile(const std::string& path) {
    // Read again after every game that did not beat it: each problem is told once.
    if (path.empty()) {
        printErrorLineOnce("no best score: neither XDG_DATA_HOME nor HOME names a folder");
        return -1;
    }
    std::string problem;
    const int score = readScore(path, problem);
    if (!problem.empty()) printErrorLineOnce("ignoring the best score in " + path + ": " + problem);
    return score;
}

int quietlyReadBestScore(const std::string& path) {
    std::string ignored;
    return readScore(path, ignored);
}

BestScoreSave prepareBestScoreSave(const std::string& path, int score, std::span<const std::uint8_t> bestGame) {
    BestScoreSave save;
    save.path = path;
    save.score = score;
    save.scoreFile = fileToReplace(path, save.problem);
    if (save.scoreFile.empty()) return save;
    save.lockPath = save.scoreFile + ".lock";
    if (const int error = makeFolders(folderOf(path))) {
        save.problem = std::strerror(error);
        return save;
    }
    // Everything slow happens before the lock, so it is held only briefly.
    // The score first: it is the record, and a disk with room for only a few
    // bytes more keeps it without its recording.
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d\n", score);
    if (const int error = writeTemporaryFile(save.scoreFile, {text, static_cast<std::size_t>(length)},
                                             save.scoreTemporary)) {
        save.problem = std::strerror(error);
        return save;
    }
    if (!bestGame.empty()) save.gameFile = fileToReplace(gameFileBeside(path), save.gameProblem);
    if (!save.gameFile.empty()) {
        const int error = writeTemporaryFile(
            save.gameFile, {reinterpret_cast<const char*>(bestGame.data()), bestGame.size()}, save.gameTemporary);
        if (error != 0) save.gameProblem = std::strerror(error);
    }
    return save;
}

void putBestScoreInPlace(BestScoreSave& save, int kept) {
    removeLeftovers(folderOf(save.path), save.gameTemporary, save.scoreTemporary);
    // The recording first: a reader pairs best-game with the score by the
    // score inside it, so a crash between the renames pairs nothing wrongly,
    // and neither does a recording that could not go in.
    if (save.score > kept && !save.gameTemporary.empty()) {
        if (const int error = renameInto(save.gameTemporary, save.gameFile)) save.gameProblem = std::strerror(error);
    }
    if (save.score > kept) save.renameError = renameInto(save.scoreTemporary, save.scoreFile);
}

int finishBestScoreSave(BestScoreSave& save, int kept, const std::string& lockProblem) {
    const bool placed = save.scoreTemporary.empty();
    removeFile(save.gameTemporary);
    removeFile(save.scoreTemporary);
    if (!save.problem.empty()) return failToKeep(save.path, save.score, save.problem);
    if (!lockProblem.empty()) return failToKeep(save.path, save.score, lockProblem);
    if (save.renameError != 0) return failToKeep(save.path, save.score, std::strerror(save.renameError));
    if (!placed) return kept;
    flushFolder(folderOf(save.scoreFile));
    if (!save.gameFile.empty() && folderOf(save.gameFile) != folderOf(save.scoreFile))
        flushFolder(folderOf(save.gameFile));
    if (!save.gameProblem.empty())
        printErrorLine("cannot keep the best game in " + gameFileBeside(save.path) + ": " + save.gameProblem +
                       "; its score is kept");
    return save.score;
}

int keepBestScore(const std::string& path, int score, std::span<const std::uint8_t> bestGame) {
    if (path.empty()) {
        printErrorLine("cannot keep the best score: neither XDG_DATA_HOME nor HOME names a folder");
        return score;
    }
    if (score < 0) return quietlyReadBestScore(path);
    BestScoreSave save = prepareBestScoreSave(path, score, bestGame);
    if (!save.problem.empty()) return finishBestScoreSave(save, -1);
    int kept = -1;
    std::string lockProblem;
    {
        const FileLock lock(save.lockPath);
        lockProblem = lock.problem();
        if (lockProblem.empty()) {
            kept = quietlyReadBestScore(save.scoreFile);
            putBestScoreInPlace(save, kept);
        }
    }
    return finishBestScoreSave(save, kept, lockProblem);
}
