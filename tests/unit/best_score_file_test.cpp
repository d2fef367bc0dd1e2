// The best-score file and the settings file against real folders: what their
// contents may look like, what is said about a file that cannot be used, and
// how each is replaced.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/best_score_file.h"
#include "platform/settings_file.h"
#include "platform/write_signals.h"
#include "unit/file_call_stand_ins.h"

// The best-score file against real folders: what counts as a score, what is
// said about a file that cannot be used, and how it is replaced.
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
        fileCalls = FileCallFaults{};
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder(), fs::perms::owner_all, ignored);
        fs::remove_all(top, ignored);
    }
    std::string folder() const { return fs::path(path).parent_path(); }
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
    std::string content(const std::string& name) const { return contentAt(folder() + "/" + name); }
    static std::string contentAt(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
    // A file of its own for each: the same problem with one file is told once a run.
    for (const std::string& content : contents) {
        SCOPED_TRACE("content \"" + content.substr(0, 16) + "\"");
        path = top + "/" + std::to_string(&content - contents.data()) + "/best-score";
        put(content);
        int score = 0;
        expectOneLineNamingTheFile(errorsOf([&] { score = readBestScoreFile(path); }));
        EXPECT_EQ(score, -1);
    }
    path = top + "/folder/best-score";
    fs::create_directories(path);
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
            fileCalls.dieAtRename = true;
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
        fileCalls.lockRefusal = c.refusal;
        const std::string errors = errorsOf([&] { EXPECT_EQ(keepBestScore(path, 9), 9); });
        fileCalls.lockRefusal = 0;
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
    fileCalls.failFolderFlush = true;
    EXPECT_EQ(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 7), 7); }), "");
    EXPECT_EQ(readBestScoreFile(path), 7);
    fileCalls.failFolderFlush = false;
    fileCalls.failFileFlush = true;
    expectOneLineNamingTheFile(errorsOf([&] { EXPECT_EQ(keepBestScore(path, 8), 8); }));
    EXPECT_EQ(readBestScoreFile(path), 7);
    EXPECT_EQ(folderEntries(), keptFiles);
}

TEST_F(BestScoreFile, TheBestGameGoesInBeforeItsScoreAndOnlyWithAHigherOne) {
    const std::vector<std::uint8_t> first = {1, 0, 255, '\n', 7}, second = {2, 2};
    EXPECT_EQ(keepBestScore(path, 5, first), 5);
    EXPECT_EQ(fileCalls.renamedTo, (std::vector<std::string>{"best-game", "best-score"}));
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

TEST_F(BestScoreFile, EachProblemWithTheFileIsToldOnceARun) {
    // What a run reads after each game that did not beat the best.
    struct Read {
        const char* content;
        bool otherFile;
        int lines;
    };
    const std::string other = top + "/other/best-score";
    for (const Read& r : {Read{"seven\n", false, 1}, Read{"seven\n", false, 0}, Read{"12abc\n", false, 0},
                          Read{"", false, 1}, Read{"seven\n", false, 0}, Read{"seven\n", true, 1}}) {
        const std::string file = r.otherFile ? other : path;
        SCOPED_TRACE(file + " holding \"" + r.content + "\"");
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << r.content;
        const std::string errors = errorsOf([&] { EXPECT_EQ(readBestScoreFile(file), -1); });
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), r.lines) << errors;
    }
}

// The disk has room for the score and not for its recording: a small file
// system of its own where the test may mount one, else the stand-in write.
enum class FullDisk { standInWrite, smallFileSystem };

class BestScoreOnAFullDisk : public BestScoreFile, public ::testing::WithParamInterface<FullDisk> {
protected:
    void TearDown() override {
        if (mounted) umount2((top + "/share").c_str(), MNT_DETACH);
        BestScoreFile::TearDown();
    }
    bool mounted = false;
};

TEST_P(BestScoreOnAFullDisk, TheScoreIsKeptWithoutItsRecording) {
    if (GetParam() == FullDisk::smallFileSystem) {
        fs::create_directories(top + "/share");
        // One page: the score's temporary file takes it.
        if (mount("tmpfs", (top + "/share").c_str(), "tmpfs", 0, "size=4k") != 0)
            GTEST_SKIP() << "cannot mount a file system here: " << std::strerror(errno);
        mounted = true;
    } else {
        fileCalls.diskSpace = 16;
    }
    const std::vector<std::uint8_t> game(5000, 7);
    const std::string errors = errorsOf([&] { EXPECT_EQ(keepBestScore(path, 5, game), 5); });
    fileCalls.diskSpace = -1;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find(folder() + "/best-game"), std::string::npos) << errors;
    EXPECT_EQ(readBestScoreFile(path), 5);
    EXPECT_EQ(folderEntries(), keptFiles) << "no recording, and no temporary file left";
}

INSTANTIATE_TEST_SUITE_P(Disks, BestScoreOnAFullDisk,
                         ::testing::Values(FullDisk::standInWrite, FullDisk::smallFileSystem), [](const auto& info) {
                             return info.param == FullDisk::standInWrite ? "StandInWrite" : "SmallFileSystem";
                         });

TEST_F(BestScoreFile, PastTheFileSizeLimitAWriteFailsAndTheGameGoesOn) {
    // The limit leaves room for the score and for these lines on standard
    // error (a file too), not for the recording nor the grown settings.
    constexpr rlim_t sizeLimit = 1000;
    const std::string settings = top + "/config/tubewyrm/settings";
    const std::string notes = "# " + std::string(1500, 'x') + "\n";
    fs::create_directories(fs::path(settings).parent_path());
    std::ofstream(settings) << notes;
    const std::vector<std::uint8_t> game(5000, 7);
    EXPECT_EXIT(
        {
            ignoreWriteSignals();  // as the game does at start-up
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = sizeLimit;
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
            const bool keptScore = keepBestScore(path, 5, game) == 5;
            const bool keptSetting = keepSetting(settings, "sound", "off");
            _exit(keptScore && !keptSetting ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^[^\n]*best-game[^\n]*\n[^\n]*settings[^\n]*\n$");
    EXPECT_EQ(readBestScoreFile(path), 5);
    EXPECT_EQ(folderEntries(), keptFiles);
    std::ifstream file(settings);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()), notes);
}

TEST_F(BestScoreFile, SymbolicLinksStayAndTheFilesTheyNameAreReplaced) {
    const std::string settings = top + "/config/tubewyrm/settings";
    const std::vector<std::uint8_t> game = {3, 1, 4};
    struct Kept {
        std::string link;
        std::function<void()> keep;
        const char* before;  // in the file the link names, when there is one
        const char* after;
    };
    const std::vector<Kept> files = {
        {path, [&] { EXPECT_EQ(keepBestScore(path, 5), 5); }, "3\n", "5\n"},
        {folder() + "/best-game", [&] { EXPECT_EQ(keepBestScore(path, 5, game), 5); }, "old", "\3\1\4"},
        {settings, [&] { keepSetting(settings, "sound", "off"); }, "sound=on\n", "sound=off\n"},
    };
    for (const Kept& kept : files) {
        for (const std::string to : {"a kept file", "a file not there yet", "itself", "a pipe"}) {
            SCOPED_TRACE(kept.link + " links to " + to);
            std::error_code ignored;
            for (const char* sub : {"/share", "/config", "/dotfiles"}) fs::remove_all(top + sub, ignored);
            fs::create_directories(fs::path(kept.link).parent_path());
            fs::create_directories(top + "/dotfiles");
            const std::string named = top + "/dotfiles/file";
            const std::string target = to == "itself" ? fs::path(kept.link).filename().string() : "../../dotfiles/file";
            fs::create_symlink(target, kept.link);
            if (to == "a kept file") std::ofstream(named) << kept.before;
            if (to == "a pipe") {
                ASSERT_EQ(mkfifo(named.c_str(), 0600), 0);
            }

            const std::string errors = errorsOf(kept.keep);
            EXPECT_EQ(fs::read_symlink(kept.link, ignored), target);
            if (to == "itself" || to == "a pipe") {
                EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
                EXPECT_NE(errors.find(kept.link + ":"), std::string::npos) << errors;
                EXPECT_EQ(fs::is_fifo(named), to == "a pipe");
            } else {
                EXPECT_EQ(errors, "");
                EXPECT_EQ(contentAt(named), kept.after);
            }
        }
    }
}

}  // namespace

// The settings file against real folders: what its lines may look like, what
// is said about contents that cannot be used, and how one choice is kept.
namespace settings_file {

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tubewyrm-settings-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        path = top + "/config/tubewyrm/settings";
        fileCalls = FileCallFaults{};
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(top, ignored);
    }
    void put(const std::string& content) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string content() const {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    template <typename What>
    std::string errorsOf(What what) {
        ::testing::internal::CaptureStderr();
        what();
        return ::testing::internal::GetCapturedStderr();
    }
    std::string top;
    std::string path;
};

TEST_F(SettingsFile, ContentsTheGameCannotUseGiveTheDefaultsAndAtMostOneLine) {
    const std::string fourKiB = "palette=contrast\nsound=off" + std::string(4096 - 26, ' ');
    struct Case {
        const char* what;
        std::optional<std::string> content;  // none: no file at all
        bool soundOn;
        bool contrast;
        bool line;
    };
    const std::vector<Case> cases = {
        {"no file", std::nullopt, true, false, false},
        {"empty", "", true, false, false},
        {"both choices", "sound=off\npalette=contrast\n", false, true, false},
        {"spaces, tabs, CR LF, no last line end", " sound =\toff \r\n\tpalette= contrast", false, true, false},
        {"the later line wins", "sound=off\npalette=contrast\nsound=on\npalette=design\n", true, false, false},
        {"unknown lines", "volume=11\n# sound=off\nsound\n=off\n\nSound=off\npalette=contrast\n", true, true, false},
        {"exactly 4 KiB", fourKiB, false, true, false},
        {"a bad sound, a good palette", "sound=loud\npalette=contrast\n", true, true, true},
        {"a bad value after a good one", "sound=off\nsound=OFF\n", true, false, true},
        {"two values", "palette=design contrast\n", true, false, true},
        {"a NUL in the value", std::string("sound=off\0\n", 11), true, false, true},
        {"one byte over 4 KiB", fourKiB + "\n", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove(path, ignored);
        if (c.content) put(*c.content);
        Settings settings;
        const std::string errors = errorsOf([&] { settings = readSettingsFile(path); });
        EXPECT_EQ(settings.soundOn, c.soundOn);
        EXPECT_EQ(settings.contrastPalette, c.contrast);
        EXPECT_EQ(errors.empty() ? "" : errors.substr(0, errors.find('\n') + 1), errors) << "more than one line";
        EXPECT_EQ(!errors.empty(), c.line) << errors;
        if (c.line) {
            EXPECT_NE(errors.find(path), std::string::npos) << errors;
        }
    }

    // Not a plain file: a pipe must neither block the game nor be replaced.
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    for (const bool keep : {false, true}) {
        const std::string errors = errorsOf([&] {
            if (keep)
                EXPECT_FALSE(keepSetting(path, "sound", "off"));
            else
                EXPECT_TRUE(readSettingsFile(path).soundOn);
        });
        EXPECT_NE(errors.find(path), std::string::npos) << errors;
        EXPECT_TRUE(fs::is_fifo(path));
    }
}

TEST_F(SettingsFile, KeepingAChoiceChangesOnlyItsLineAndKeepsEverythingElse) {
    struct Case {
        const char* before;  // nullptr: no file, nor its folders
        const char* name;
        const char* value;
        const char* after;
    };
    const std::vector<Case> cases = {
        {nullptr, "sound", "off", "sound=off\n"},
        {"palette=contrast\n# mine\n", "sound", "off", "palette=contrast\n# mine\nsound=off\n"},
        {"palette=contrast\n# mine\nsound=off\n", "palette", "design", "palette=design\n# mine\nsound=off\n"},
        {" sound = on\r\nx=1\nsound=off\nsound=loud", "sound", "off", "sound=off\nx=1\n"},
        {"volume=11", "palette", "contrast", "volume=11\npalette=contrast\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before ? c.before : "no file");
        std::error_code ignored;
        fs::remove_all(top + "/config", ignored);
        if (c.before) put(c.before);
        EXPECT_EQ(errorsOf([&] { EXPECT_TRUE(keepSetting(path, c.name, c.value)); }), "");
        EXPECT_EQ(content(), c.after);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator()), 2)
        << "the file and its lock, nothing else";

    // Lines the game does not know give way when the file would outgrow what it reads.
    put(std::string(4080, '#') + "\nsound=on\n");
    EXPECT_TRUE(keepSetting(path, "palette", "contrast"));
    EXPECT_EQ(content(), "sound=on\npalette=contrast\n");
}

TEST_F(SettingsFile, OfTwoGamesChangingAChoiceAtOnceNeitherLosesTheOthers) {
    put("sound=on\npalette=design\n");
    int busy[2];
    ASSERT_EQ(pipe(busy), 0);
    pid_t other = -1;
    // Another game changes the palette between this one's read and its rename.
    fileCalls.beforeRename = [&] {
        other = fork();
        if (other == 0) {
            // Another process: none of this one's files, its lock least of all.
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != busy[1]) close(fd);
            fileCalls.busyLockPipe = busy[1];
            _exit(keepSetting(path, "palette", "contrast") ? 0 : 1);
        }
        close(busy[1]);
        // Until the other game waits for the lock, or is done without it.
        char byte = 0;
        while (read(busy[0], &byte, 1) < 0 && errno == EINTR) {
        }
        close(busy[0]);
    };
    EXPECT_TRUE(keepSetting(path, "sound", "off"));
    ASSERT_GT(other, 0);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(content(), "sound=off\npalette=contrast\n");
}

TEST(SettingsPath, TheFileLivesInTheConfigurationFolderElseUnderHome) {
    EXPECT_EQ(settingsPath("/cfg", "/home/a"), "/cfg/tubewyrm/settings");
    EXPECT_EQ(settingsPath("cfg", "/home/a"), "/home/a/.config/tubewyrm/settings");
    EXPECT_EQ(settingsPath(nullptr, ""), "");
}

}  // namespace

}  // namespace settings_file
