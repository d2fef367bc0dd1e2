// The best-score file against real folders: what counts as a score, what is
// said about a file that cannot be used, and how it is replaced.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/best_score_file.h"

namespace {

bool dieAtRename = false;
std::vector<std::string> renamedTo;  // the file names renames replaced, in order
int lockRefusal = 0;                 // an errno flock fails with, as some homes do
bool failFileFlush = false;
bool failFolderFlush = false;

template <typename Function>
Function realFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// Stand-ins for the C library's rename, flock and fsync: a test can end the
// writing process right between the temporary file and the rename, as a crash
// would, see the order of the renames, and make locks or flushes fail.
extern "C" int rename(const char* from, const char* to) noexcept {
    if (dieAtRename) _exit(3);
    renamedTo.emplace_back(std::filesystem::path(to).filename());
    static const auto realRename = realFunction<int (*)(const char*, const char*)>("rename");
    return realRename(from, to);
}

extern "C" int flock(int fd, int operation) noexcept {
    if (lockRefusal != 0) {
        errno = lockRefusal;
        return -1;
    }
    static const auto realFlock = realFunction<int (*)(int, int)>("flock");
    return realFlock(fd, operation);
}

extern "C" int fsync(int fd) {
    struct stat status {};
    if (fstat(fd, &status) == 0 && (S_ISDIR(status.st_mode) ? failFolderFlush : failFileFlush)) {
        errno = EINVAL;
        return -1;
    }
    static const auto realFsync = realFunction<int (*)(int)>("fsync");
    return realFsync(fd);
}

namespace {

namespace fs = std::filesystem;

TEST(BestScoreText, OnlyDigitsWithAtMostOneLineEndAndAThirtyTwoBitValueAreAScore) {
    const std::vector<std::pair<std::string, int>> scores = {
        {"0", 0}, {"7", 7}, {"42\n", 42}, {"007\n", 7}, {"2147483647\n", 2147483647}};
    for (const auto& [text, score] : scores) EXPECT_EQ(parseBestScore(text), score) << text;
    for (const std::string& text :
         std::vector<std::string>{"", "\n", "abc", "12abc", "12 ", " 12", "12\n\n", "12\r\n", "1 2", "-3", "+3",
                                  "2147483648", "99999999999", std::string("12\0", 3)})
        EXPECT_EQ(parseBestScore(text), std::nullopt) << '"' << text << '"';
}

TEST(BestScoreText, TheFileLivesInTheDataFolderElseUnderHome) {
    EXPECT_EQ(bestScorePath("/data", "/home/a"), "/data/tubewyrm/best-score");
    EXPECT_EQ(bestScorePath("", "/home/a"), "/home/a/.local/share/tubewyrm/best-score");
    EXPECT_EQ(bestScorePath("relative/data", "/home/a"), "/home/a/.local/share/tubewyrm/best-score");
    EXPECT_EQ(bestScorePath(nullptr, "/home/a"), "/home/a/.local/share/tubewyrm/best-score");
    EXPECT_EQ(bestScorePath(nullptr, nullptr), "");
    EXPECT_EQ(bestScorePath("", "relative"), "");
    EXPECT_EQ(bestGamePath("/data", "/home/a"), "/data/tubewyrm/best-game");
    EXPECT_EQ(bestGamePath("relative", "/home/a"), "/home/a/.local/share/tubewyrm/best-game");
    EXPECT_EQ(bestGamePath(nullptr, nullptr), "");
}

class BestScoreFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tubewyrm-best-score-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        path = top + "/share/tubewyrm/best-score";
        dieAtRename = false;
        renamedTo.clear();
        lockRefusal = 0;
        failFileFlush = failFolderFlush = false;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder(), fs::perms::owner_all, ignored);
        fs::remove_all(top, ignored);
    }
    std::string folder() const { return top + "/share/tubewyrm"; }
    void put(const std::string& content) {
        fs::create_directories(folder());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Runs what and returns what it wrote on standard error.
    template <typename What>
    std::string errorsOf(What what) {
        ::testing::internal::CaptureStderr();
        what();
        return ::testing::internal::GetCapturedStderr();
    }
    void expectOneLineNamingTheFile(const std::string& errors) {
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_EQ(errors.back(), '\n');
        EXPECT_NE(errors.find(path), std::string::npos) << errors;
    }
    std::string content(const std::string& name) const {
        std::ifstream file(folder() + "/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    const std::vector<std::string> keptFiles = {"best-score", "best-score.lock"};
    std::string top;
    std::string path;
};

TEST_F(BestScoreFile, AMissingFileIsNoScoreSilently) {
    int score = 0;
    EXPECT_EQ(errorsOf([&] { score = readBestScoreFile(path); }), "");
    EXPECT_EQ(score, -1);
}

TEST_F(BestScoreFile, AnUnusableFileIsNoScoreWithOneLineNamingIt) {
    const std::vector<std::string> contents = {"",     "seven\n",      "12abc\n",
                                               "-5\n", "4294967296\n", std::string(1 << 20, '1')};
    for (const std::string& content : contents) {
        SCOPED_TRACE("content \"" + content.substr(0, 16) + "\"");
        put(content);
        int score = 0;
        expectOneLineNamingTheFile(errorsOf([&] { score = readBestScoreFile(path); }));
        EXPECT_EQ(score, -1);
    }
    fs::remove(path);
    fs::create_directory(path);
    int score = 0;
    expectOneLineNamingTheFile(errorsOf([&] { score = readBestScoreFile(path); }));
    EXPECT_EQ(score, -1);
}

TEST_F(BestScoreFile, KeepingMakesTheFoldersAndReplacesTheScoreLeavingNothingElse) {
    EXPECT_EQ(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 12), 12); }), "");
    EXPECT_EQ(readBestScoreFile(path), 12);
    EXPECT_EQ(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 2147483647), 2147483647); }), "");
    EXPECT_EQ(readBestScoreFile(path), 2147483647);
    EXPECT_EQ(folderEntries(), keptFiles);
}

TEST_F(BestScoreFile, AFolderThatCannotBeMadeOrAFolderInTheFilesPlaceKeepsNothingWithOneLine) {
    // A plain file where the game's folder should be.
    fs::create_directories(top + "/share");
    std::ofstream(folder()) << "in the way";
    expectOneLineNamingTheFile(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 12), 12); }));
    EXPECT_EQ(fs::file_size(folder()), 10u);

    // A folder where the file should be: the temporary file is written but
    // cannot take its place, and is removed again.
    fs::remove(folder());
    fs::create_directories(path);
    expectOneLineNamingTheFile(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 12), 12); }));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(folderEntries(), keptFiles);
}

TEST_F(BestScoreFile, AReadOnlyFolderKeepsTheOldScoreWithOneLine) {
    ASSERT_EQ(keepBestScore(path, 5), 5);
    const auto readAndSearch = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder(), readAndSearch);
    fs::permissions(top, readAndSearch | fs::perms::owner_write);
    // Permission bits do not stop root, so root writes as nobody, in a child.
    const bool root = geteuid() == 0;
    EXPECT_EXIT(
        {
            if (root && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
            // Nothing kept, but the title still shows this game's higher score.
            _exit(keepBestScore(path, 9) == 9 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^[^\n]*" + path + "[^\n]*\n$");
    EXPECT_EQ(readBestScoreFile(path), 5);
    EXPECT_EQ(folderEntries(), keptFiles);
}

TEST_F(BestScoreFile, AWriteInterruptedBeforeTheRenameLeavesTheOldScore) {
    ASSERT_EQ(keepBestScore(path, 5), 5);
    EXPECT_EXIT(
        {
            dieAtRename = true;
            keepBestScore(path, 99);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(readBestScoreFile(path), 5);
    // What the crash left behind is the whole new score, flushed, under another name.
    std::vector<std::string> temporaries;
    for (const std::string& name : folderEntries())
        if (name.starts_with("best-score.") && name != "best-score.lock") temporaries.push_back(name);
    ASSERT_EQ(temporaries.size(), 1u);
    EXPECT_EQ(content(temporaries[0]), "99\n");
}

TEST_F(BestScoreFile, OfTwoGamesOfOnePlayerTheHigherBestIsKeptAndShownByBoth) {
    const int firstRead = readBestScoreFile(path);  // the first game starts: no best yet
    EXPECT_EQ(keepBestScore(path, 5), 5);           // the second game ends meanwhile
    EXPECT_EQ(firstRead, -1);
    // The first game ends below the other's best: it keeps nothing and learns 5.
    EXPECT_EQ(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 1), 5); }), "");
    EXPECT_EQ(readBestScoreFile(path), 5);
    EXPECT_EQ(keepBestScore(path, 8), 8);
    EXPECT_EQ(readBestScoreFile(path), 8);
    EXPECT_EQ(folderEntries(), keptFiles);
}

TEST_F(BestScoreFile, ALockHeldByAnotherGameSkipsTheSaveAndARefusedLockSavesWithoutIt) {
    struct Case {
        const char* what;
        bool heldElsewhere;
        int refusal;
        int keptAfter;
        bool line;
    };
    for (const Case& c : {Case{"held by another game", true, 0, 5, true}, Case{"refused", false, ENOLCK, 9, false}}) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(keepBestScore(path, 5), 5);
        // Another open file description of the lock file conflicts even within one process.
        const int other = open((path + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(other, 0);
        if (c.heldElsewhere) {
            ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
        }
        lockRefusal = c.refusal;
        const std::string errors = errorsOf([&] { EXPECT_EQ(keepBestScore(path, 9), 9); });
        lockRefusal = 0;
        close(other);
        if (c.line)
            expectOneLineNamingTheFile(errors);
        else
            EXPECT_EQ(errors, "");
        EXPECT_EQ(readBestScoreFile(path), c.keptAfter);
        EXPECT_EQ(folderEntries(), keptFiles);
        fs::remove(path);
    }
}

TEST_F(BestScoreFile, ASaveRemovesTemporaryFilesOlderThanAMinuteAndNoOthers) {
    fs::create_directories(folder());
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const char* name : {"best-score.Old1ab", "best-game.Old2cd", "best-score.New3ef", "best-game.New4gh",
                             "best-score.notes", "best-score.a-b-c1", "best-scores"}) {
        std::ofstream(folder() + "/" + name) << "7\n";
        if (std::string(name).find("New") == std::string::npos) fs::last_write_time(folder() + "/" + name, longAgo);
    }
    put("9\n");
    EXPECT_EQ(keepBestScore(path, 3), 9);  // not kept, but the lock was taken: the folder is tidied all the same
    EXPECT_EQ(folderEntries(),
              (std::vector<std::string>{"best-game.New4gh", "best-score", "best-score.New3ef", "best-score.a-b-c1",
                                        "best-score.lock", "best-score.notes", "best-scores"}));
}

TEST_F(BestScoreFile, OnlyAFailedFlushOfTheScoreItselfIsReported) {
    // A refused folder flush comes after the rename has kept the score.
    failFolderFlush = true;
    EXPECT_EQ(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 7), 7); }), "");
    EXPECT_EQ(readBestScoreFile(path), 7);
    failFolderFlush = false;
    failFileFlush = true;
    expectOneLineNamingTheFile(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 8), 8); }));
    EXPECT_EQ(readBestScoreFile(path), 7);
    EXPECT_EQ(folderEntries(), keptFiles);
}

TEST_F(BestScoreFile, TheBestGameGoesInBeforeItsScoreAndOnlyWithAHigherOne) {
    const std::vector<std::uint8_t> first = {1, 0, 255, '\n', 7}, second = {2, 2};
    EXPECT_EQ(keepBestScore(path, 5, first), 5);
    EXPECT_EQ(renamedTo, (std::vector<std::string>{"best-game", "best-score"}));
    struct Case {
        int score;
        const std::vector<std::uint8_t>* game;
        int best;
        const std::vector<std::uint8_t>* keptGame;
    };
    // Equal or lower scores keep nothing; an empty recording leaves the old one to its own score.
    const std::vector<std::uint8_t> none;
    for (const Case& c : {Case{5, &second, 5, &first}, Case{3, &second, 5, &first}, Case{6, &none, 6, &first},
                          Case{7, &second, 7, &second}}) {
        SCOPED_TRACE(c.score);
        EXPECT_EQ(keepBestScore(path, c.score, *c.game), c.best);
        EXPECT_EQ(readBestScoreFile(path), c.best);
        EXPECT_EQ(content("best-game"), std::string(c.keptGame->begin(), c.keptGame->end()));
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{"best-game", "best-score", "best-score.lock"}));
    }
}

}  // namespace
