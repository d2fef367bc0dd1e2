// The table of best games against real folders: its text, ten games kept
// under the best score's lock, games an older version kept, recordings that
// are gone, and copies for the player.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/best_games_file.h"
#include "platform/best_score_file.h"
#include "unit/file_call_stand_ins.h"

namespace {

namespace fs = std::filesystem;

TEST(BestGamesText, GoodLinesAreReadBestFirstOfEqualScoresTheEarlierAndWrittenAsRead) {
    const std::string longestName = std::string(58, 'a') + ".twrec";
    const std::string text = "5 20 1.5 b.twrec\n007 0 0 -\n2147483647 253402300799 999999999.999 " + longestName +
                             "\n5 10 0.25 c-_.9.twrec";
    std::vector<std::string> problems;
    const BestGames games = parseBestGames(text, problems);
    EXPECT_EQ(problems, std::vector<std::string>{});
    const BestGames expected{{{2147483647, 253402300799, 999999999.999, longestName},
                              {7, 0, 0.0, ""},
                              {5, 10, 0.25, "c-_.9.twrec"},
                              {5, 20, 1.5, "b.twrec"}}};
    EXPECT_EQ(games, expected);
    EXPECT_EQ(formatBestGames(games), "2147483647 253402300799 999999999.999 " + longestName +
                                          "\n7 0 0.000 -\n5 10 0.250 c-_.9.twrec\n5 20 1.500 b.twrec\n");
}

TEST(BestGamesText, EachBadLineIsSkippedAndToldByItsNumber) {
    const std::vector<std::string> badLines = {"",
                                               "1 2 3",
                                               "1 2 3 - x",
                                               "1  2 3 -",
                                               " 1 2 3 -",
                                               "1 2 3 - ",
                                               "1 2 3 a.twrec\r",
                                               "-1 2 3 -",
                                               "+1 2 3 -",
                                               "2147483648 2 3 -",
                                               "1e3 2 3 -",
                                               "1 253402300800 3 -",
                                               "1 -2 3 -",
                                               "1 2.0 3 -",
                                               "1 2 1.0005 -",
                                               "1 2 1. -",
                                               "1 2 .5 -",
                                               "1 2 1000000000 -",
                                               "1 2 nan -",
                                               "1 2 3 ../x.twrec",
                                               "1 2 3 /tmp/x.twrec",
                                               "1 2 3 .x.twrec",
                                               "1 2 3 x.rec",
                                               "1 2 3 .twrec",
                                               "1 2 3 " + std::string(59, 'x') + ".twrec",
                                               "1 2 3 x\x1b.twrec",
                                               "1 2 3 first.twrec"};
    for (const std::string& line : badLines) {
        SCOPED_TRACE('"' + line + '"');
        std::vector<std::string> problems;
        const BestGames games = parseBestGames("9 1 1 first.twrec\n" + line + "\n8 1 1 -\n", problems);
        EXPECT_EQ(games.entries.size(), 2u);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_TRUE(problems[0].starts_with("line 2: ")) << problems[0];
    }
}

TEST(BestGamesText, BadLinesOfOneKindAreOneProblemAndOnlyTheBestTenStay) {
    std::string text = "x\n";
    for (int score = 1; score <= 12; ++score) text += std::to_string(score) + " 1 1 -\n" + (score % 5 ? "" : "y\n");
    std::vector<std::string> problems;
    const BestGames games = parseBestGames(text, problems);
    EXPECT_EQ(problems, (std::vector<std::string>{"3 lines from line 1 on: not four fields parted by single spaces",
                                                  "only the best ten of 12 games are kept"}));
    ASSERT_EQ(games.entries.size(), 10u);
    EXPECT_EQ(games.entries.front().score, 12);
    EXPECT_EQ(games.entries.back().score, 3);
}

class BestGamesFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tubewyrm-best-games-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        scorePath = top + "/share/tubewyrm/best-score";
        fileCalls = FileCallFaults{};
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(top, ignored);
    }
    std::string at(const std::string& name) const { return top + "/share/tubewyrm/" + name; }
    void put(const std::string& name, const std::string& content) const {
        fs::create_directories(fs::path(at(name)).parent_path());
        std::ofstream(at(name), std::ios::binary) << content;
    }
    std::string content(const std::string& name) const {
        std::ifstream in(at(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> namesIn(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(at(folder))) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string gameText(int score, std::int64_t ended) {
        return "game " + std::to_string(score) + " " + std::to_string(ended);
    }
    int keep(int score, std::int64_t ended) const {
        const std::string text = gameText(score, ended);
        return keepFinishedGameIn(scorePath, {score, ended, 1.0}, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    template <typename What>
    static std::string errorsOf(What what) {
        ::testing::internal::CaptureStderr();
        what();
        return ::testing::internal::GetCapturedStderr();
    }
    // The table on disk, best first, each game with its own recording and no
    // recording beside them that it does not name.
    std::vector<int> keptScores() const {
        std::vector<std::string> problems;
        const BestGames games = parseBestGames(content("best-games"), problems);
        EXPECT_EQ(problems, std::vector<std::string>{});
        std::vector<int> scores;
        std::vector<std::string> named;
        for (const BestGameEntry& entry : games.entries) {
            scores.push_back(entry.score);
            named.push_back(entry.recording);
            EXPECT_EQ(content("best-games.d/" + entry.recording), gameText(entry.score, entry.endedAt));
        }
        std::sort(named.begin(), named.end());
        EXPECT_EQ(namesIn("best-games.d"), named);
        return scores;
    }
    std::string top;
    std::string scorePath;
};

TEST_F(BestGamesFile, TheTenBestStayWithTheirRecordingsAndTheBestIsAlsoTheBestScore) {
    struct Game {
        int score;
        std::vector<int> keptAfter;
    };
    int best = -1;
    int ended = 1000;
    for (const int score : {50, 70, 30, 90, 10, 60, 40, 80, 20, 100}) {
        best = std::max(best, score);
        ASSERT_EQ(keep(score, ended++), best);
    }
    const std::vector<Game> later = {
        {5, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},   // below all ten
        {10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},  // as the tenth but later
        {65, {100, 90, 80, 70, 65, 60, 50, 40, 30, 20}},  // the tenth drops out
        {100, {100, 100, 90, 80, 70, 65, 60, 50, 40, 30}},
    };
    for (std::size_t i = 0; i < later.size(); ++i) {
        SCOPED_TRACE(later[i].score);
        EXPECT_EQ(errorsOf([&] { EXPECT_EQ(keep(later[i].score, 2000 + static_cast<int>(i)), 100); }), "");
        EXPECT_EQ(keptScores(), later[i].keptAfter);
    }
    // The best score and its game as an older version reads them: the first 100.
    EXPECT_EQ(readBestScoreFile(scorePath), 100);
    EXPECT_EQ(content("best-game"), gameText(100, 1009));
    EXPECT_EQ(namesIn(""),
              (std::vector<std::string>{"best-game", "best-games", "best-games.d", "best-score", "best-score.lock"}));
}

TEST_F(BestGamesFile, TwoGamesEndingAtOnceBothGoInAndNeitherIsLostNorKeptTwice) {
    struct Race {
        int first;
        int second;
        std::vector<int> keptAfter;
    };
    for (const Race& race : {Race{55, 65, {100, 90, 80, 70, 65, 60, 55, 50, 40, 30}},
                             Race{150, 120, {150, 120, 100, 90, 80, 70, 60, 50, 40, 30}}}) {
        SCOPED_TRACE(race.first);
        fs::remove_all(top + "/share");
        for (int i = 1; i <= 10; ++i) keep(10 * i, i);
        int busy[2];
        ASSERT_EQ(pipe(busy), 0);
        pid_t other = -1;
        // The other game ends while this one holds the lock, between its read and its first rename.
        fileCalls.beforeRename = [&] {
            other = fork();
            if (other == 0) {
                // Another process: none of this one's files, its lock least of all.
                for (int fd = 3; fd < 1024; ++fd)
                    if (fd != busy[1]) close(fd);
                fileCalls.busyLockPipe = busy[1];
                _exit(keep(race.second, 200) == std::max(race.first, 100) ? 0 : 1);
            }
            close(busy[1]);
            char byte = 0;
            while (read(busy[0], &byte, 1) < 0 && errno == EINTR) {
            }
            close(busy[0]);
        };
        EXPECT_EQ(keep(race.first, 100), std::max(race.first, 100));
        ASSERT_GT(other, 0);
        int status = 0;
        ASSERT_EQ(waitpid(other, &status, 0), other);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(keptScores(), race.keptAfter);
        EXPECT_EQ(readBestScoreFile(scorePath), race.keptAfter.front());
    }
}

TEST_F(BestGamesFile, ABetterBestScoreKeptByAnOlderVersionEntersWithACopyOfItsGame) {
    struct Case {
        const char* what;
        const char* table;
        bool bestGame;
        int newScore;  // a game kept before the table is read; -1: none
        std::vector<int> scoresAfter;
        int copyAt;  // where the old best game's copy is in the table; -1: nowhere
    };
    const std::vector<Case> cases = {
        {"at the first start after an update", "", true, -1, {40}, 0},
        {"beside a table", "30 5 1 -\n", true, -1, {40, 30}, 0},
        {"no better than the table", "40 5 1 -\n", true, -1, {40}, -1},
        {"without its recording", "30 5 1 -\n", false, -1, {40, 30}, -1},
        {"at a save below it", "30 5 1 -\n", true, 35, {40, 35, 30}, 0},
        {"at a save above it", "30 5 1 -\n", true, 45, {45, 40, 30}, 1},
    };
    const auto written = std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1700000000)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(top + "/share");
        put("best-games", c.table);
        put("best-score", "40\n");
        fs::last_write_time(at("best-score"), written);
        if (c.bestGame) put("best-game", "older game");
        if (c.newScore >= 0) keep(c.newScore, 2000000000);
        const BestGames games = readBestGames(scorePath);
        std::vector<int> scores;
        for (const BestGameEntry& entry : games.entries) scores.push_back(entry.score);
        EXPECT_EQ(scores, c.scoresAfter);
        if (c.copyAt >= 0) {
            const BestGameEntry& copy = games.entries.at(static_cast<std::size_t>(c.copyAt));
            EXPECT_EQ(copy.endedAt, 1700000000);
            EXPECT_EQ(content("best-games.d/" + copy.recording), "older game");
        }
        // Taken in once: the next start finds it in the table.
        const std::string table = content("best-games");
        EXPECT_EQ(readBestGames(scorePath), games);
        EXPECT_EQ(content("best-games"), table);
    }
}

TEST_F(BestGamesFile, AMissingOrDamagedRecordingCostsOnlyItsWatch) {
    put("best-games", "9 1 1 gone.twrec\n8 1 1 empty.twrec\n7 1 1 good.twrec\n6 1 1 -\n");
    put("best-games.d/empty.twrec", "");
    put("best-games.d/good.twrec", "abc");
    BestGames games;
    const std::string errors = errorsOf([&] { games = readBestGames(scorePath); });
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find(at("best-games.d/gone.twrec")), std::string::npos) << errors;
    const BestGames expected{{{9, 1, 1.0, ""}, {8, 1, 1.0, "empty.twrec"}, {7, 1, 1.0, "good.twrec"}, {6, 1, 1.0, ""}}};
    EXPECT_EQ(games, expected);

    struct Load {
        std::string recording;
        bool loads;
        int lines;
    };
    for (const Load& load : {Load{"", false, 0}, Load{"gone.twrec", false, 1}, Load{"empty.twrec", false, 1},
                             Load{"../best-games", false, 1}, Load{"good.twrec", true, 0}}) {
        SCOPED_TRACE(load.recording);
        std::vector<std::uint8_t> bytes = {1};
        const std::string loadErrors = errorsOf([&] {
            EXPECT_EQ(readBestGamesRecording(scorePath, {7, 1, 1.0, load.recording}, bytes), load.loads);
        });
        EXPECT_EQ(std::count(loadErrors.begin(), loadErrors.end(), '\n'), load.lines) << loadErrors;
        EXPECT_EQ(bytes, (load.loads ? std::vector<std::uint8_t>{'a', 'b', 'c'} : std::vector<std::uint8_t>{}));
    }
}

TEST_F(BestGamesFile, AnExportIsNamedByScoreAndLocalTimeAndNeverReplacesAFile) {
    const char* zone = std::getenv("TZ");
    const std::string oldZone = zone ? zone : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    put("best-games.d/good.twrec", "abc");
    const std::string home = top + "/home";
    fs::create_directories(home);
    std::ofstream(home + "/tubewyrm-1010-2026-12-08-1403-2.twrec") << "mine";
    const BestGameEntry entry{1010, 1796738607, 1.0, "good.twrec"};
    EXPECT_EQ(formatLocalTime(entry.endedAt, "%Y-%m-%d %H:%M"), "2026-12-08 14:03");
    for (const char* name : {"tubewyrm-1010-2026-12-08-1403.twrec", "tubewyrm-1010-2026-12-08-1403-3.twrec"}) {
        EXPECT_EQ(exportBestGameTo(scorePath, entry, (home + "/").c_str()), home + "/" + name);
        std::ifstream in(home + "/" + name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "abc");
    }
    std::ifstream mine(home + "/tubewyrm-1010-2026-12-08-1403-2.twrec");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(mine), std::istreambuf_iterator<char>()), "mine");

    std::string errors = errorsOf([&] { EXPECT_EQ(exportBestGameTo(scorePath, {1, 1, 1.0, ""}, home.c_str()), ""); });
    errors += errorsOf([&] { EXPECT_EQ(exportBestGameTo(scorePath, entry, "relative"), ""); });
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
    if (zone)
        setenv("TZ", oldZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(BestGamesFile, ASaveTidiesLeftoversAndUnnamedRecordingsButNotBesideATableItCannotRead) {
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable ? "a table it reads" : "a table too long to read");
        fs::remove_all(top + "/share");
        put("best-games", readable ? "" : std::string(largestBestGamesBytes + 1, '\n'));
        for (const char* name : {"best-games.Old1ab", "best-games.d/5-5.twrec.Old2cd", "best-games.d/lost.twrec",
                                 "best-games.d/notes.txt", "best-games.New3ef", "best-games.d/6-6.twrec.New4gh"}) {
            put(name, "x");
            if (std::string(name).find("New") == std::string::npos) fs::last_write_time(at(name), longAgo);
        }
        const std::string errors = errorsOf([&] { keep(7, 7); });
        EXPECT_EQ(errors.find(at("best-games")) != std::string::npos, !readable) << errors;
        EXPECT_EQ(namesIn(""), (std::vector<std::string>{"best-game", "best-games", "best-games.New3ef", "best-games.d",
                                                         "best-score", "best-score.lock"}));
        std::vector<std::string> recordings = {"6-6.twrec.New4gh", "7-7.twrec", "notes.txt"};
        if (!readable) recordings.insert(recordings.begin() + 2, "lost.twrec");
        EXPECT_EQ(namesIn("best-games.d"), recordings);
    }
}

TEST_F(BestGamesFile, ATableThatIsASymbolicLinkStaysOneAndItsTargetIsReplaced) {
    fs::create_directories(top + "/dotfiles");
    fs::create_directories(fs::path(scorePath).parent_path());
    fs::create_symlink("../../dotfiles/games", at("best-games"));
    keep(7, 7);
    EXPECT_EQ(fs::read_symlink(at("best-games")), "../../dotfiles/games");
    std::ifstream in(top + "/dotfiles/games");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              "7 7 1.000 7-7.twrec\n");
}

}  // namespace
