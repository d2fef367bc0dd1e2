// The best-score file against real folders: what counts as a score, what is
// said about a file that cannot be used, and how it is replaced.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

}  // namespace

// Stands in for the C library's rename so a test can end the writing process
// right between the temporary file and the rename, as a crash would.
extern "C" int rename(const char* from, const char* to) noexcept {
    if (dieAtRename) _exit(3);
    using Rename = int (*)(const char*, const char*);
    static const Rename realRename = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    return realRename(from, to);
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
}

class BestScoreFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tubewyrm-best-score-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        path = top + "/share/tubewyrm/best-score";
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

TEST_F(BestScoreFile, WritingMakesTheFoldersAndReplacesTheScoreLeavingNothingElse) {
    EXPECT_EQ(errorsOf([&] { EXPECT_TRUE(writeBestScoreFile(path, 12)); }), "");
    EXPECT_EQ(readBestScoreFile(path), 12);
    EXPECT_EQ(errorsOf([&] { EXPECT_TRUE(writeBestScoreFile(path, 2147483647)); }), "");
    EXPECT_EQ(readBestScoreFile(path), 2147483647);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"best-score"});
}

TEST_F(BestScoreFile, AFolderThatCannotBeMadeOrAFolderInTheFilesPlaceKeepsNothingWithOneLine) {
    // A plain file where the game's folder should be.
    fs::create_directories(top + "/share");
    std::ofstream(folder()) << "in the way";
    expectOneLineNamingTheFile(errorsOf([&] { EXPECT_FALSE(writeBestScoreFile(path, 12)); }));
    EXPECT_EQ(fs::file_size(folder()), 10u);

    // A folder where the file should be: the temporary file is written but
    // cannot take its place, and is removed again.
    fs::remove(folder());
    fs::create_directories(path);
    expectOneLineNamingTheFile(errorsOf([&] { EXPECT_FALSE(writeBestScoreFile(path, 12)); }));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"best-score"});
}

TEST_F(BestScoreFile, AReadOnlyFolderKeepsTheOldScoreWithOneLine) {
    ASSERT_TRUE(writeBestScoreFile(path, 5));
    const auto readAndSearch = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder(), readAndSearch);
    fs::permissions(top, readAndSearch | fs::perms::owner_write);
    // Permission bits do not stop root, so root writes as nobody, in a child.
    const bool root = geteuid() == 0;
    EXPECT_EXIT(
        {
            if (root && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
            _exit(writeBestScoreFile(path, 9) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "^[^\n]*" + path + "[^\n]*\n$");
    EXPECT_EQ(readBestScoreFile(path), 5);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"best-score"});
}

TEST_F(BestScoreFile, AWriteInterruptedBeforeTheRenameLeavesTheOldScore) {
    ASSERT_TRUE(writeBestScoreFile(path, 5));
    EXPECT_EXIT(
        {
            dieAtRename = true;
            writeBestScoreFile(path, 99);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(readBestScoreFile(path), 5);
    // What the crash left behind is the whole new score, flushed, under another name.
    std::vector<std::string> temporaries;
    for (const std::string& name : folderEntries())
        if (name != "best-score") temporaries.push_back(name);
    ASSERT_EQ(temporaries.size(), 1u);
    std::ifstream temporary(folder() + "/" + temporaries[0]);
    std::string content((std::istreambuf_iterator<char>(temporary)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "99\n");
}

}  // namespace
