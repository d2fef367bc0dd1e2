// The "Best games" screen and the title's idle cycle, run by timed scripts on
// the scripted platform over games recorded by version 1.1.0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "render/best_games_screen.h"
#include "rules/recording_file.h"
#include "support/recorded_games.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

namespace {

struct Step {
    double at;
    Happening what;
    int key;
};

// A kept game of tests/data, as bytes, with what it replays to.
struct Game {
    KeptGame kept;
    std::vector<std::uint8_t> bytes;
    double seconds = 0.0;  // its recorded play time
};

Game game(const std::string& name, bool spoiled = false) {
    Game g;
    for (const KeptGame& k : keptGames())
        if (k.name == name) g.kept = k;
    Recording recording;
    std::string problem;
    EXPECT_TRUE(loadKeptRecording(name, recording, problem)) << problem;
    g.seconds = std::accumulate(recording.frameTimes.begin(), recording.frameTimes.end(), 0.0);
    // Its first food somewhere else: the rules no longer follow it.
    if (spoiled) recording.randoms[0] += 10.0 / 488.0;
    encodeRecording(recording, g.bytes);
    return g;
}

// The game program.replay last ran to its end, or "" when none did.
std::string replayedWhole(const Program& program) {
    for (const KeptGame& k : keptGames())
        if (program.replay.input.frames == static_cast<std::uint32_t>(k.frames) &&
            snakeHash(program.replay.snake) == k.snakeHash)
            return k.name;
    return "";
}

// B opens the screen at 1 s over four rows: the reversal game (score 6), a
// copy of it the rules no longer follow, the game that wraps both ways
// (score 4) and the short one (score 1). Escape at 17.5 s and 18 s: from the
// screen the first goes back to the title and the second quits; from the
// title (where the idle cycle's table stands from 12 s to 18 s) the first
// quits.
TEST(BestGamesScreen, ArrowsChooseSpaceOrEnterWatchesEExportsAndEscapeGoesBackOneScreen) {
    const Game reversal = game("reversal_after_meal");
    const Game spoiled = game("reversal_after_meal", true);
    const Game wraps = game("wraps_both_ways");
    const Game shortGame = game("short_game");
    ASSERT_LT(wraps.seconds, 15.0) << "watched to its end by 17.5 s";
    constexpr double lastEscape = 18.0;
    const struct {
        const char* what;
        std::vector<Step> steps;
        const char* watchedWhole;  // "" for none
        bool watchedPartly;
        std::vector<std::string> exported;
        double endsAt;
        std::size_t errorLines = 0;
    } cases[] = {
        {"Enter watches the first row",
         {{2.0, Happening::tap, scanEnter}},
         "reversal_after_meal",
         false,
         {},
         lastEscape},
        {"Down twice and Space watch the third",
         {{2.0, Happening::tap, scanDown}, {2.2, Happening::tap, scanDown}, {2.4, Happening::tap, scanSpace}},
         "wraps_both_ways",
         false,
         {},
         lastEscape},
        {"Down stops at the last row",
         {{2.0, Happening::tap, scanDown},
          {2.2, Happening::tap, scanDown},
          {2.4, Happening::tap, scanDown},
          {2.6, Happening::tap, scanDown},
          {2.8, Happening::tap, scanDown},
          {3.0, Happening::tap, scanEnter}},
         "short_game",
         false,
         {},
         lastEscape},
        {"Up stops at the first row",
         {{2.0, Happening::tap, scanDown},
          {2.2, Happening::tap, scanUp},
          {2.4, Happening::tap, scanUp},
          {2.6, Happening::tap, scanEnter}},
         "reversal_after_meal",
         false,
         {},
         lastEscape},
        {"Enter or Space on a row the rules no longer follow do nothing, and check it once",
         {{2.0, Happening::tap, scanDown}, {2.2, Happening::tap, scanEnter}, {2.4, Happening::tap, scanSpace}},
         "",
         false,
         {},
         lastEscape,
         1},
        {"Escape, held, goes back to the title only",
         {{2.0, Happening::keyDown, scanEscape}, {3.0, Happening::keyUp, scanEscape}},
         "",
         false,
         {},
         17.5},
        {"Escape, held, in a watch goes back to the table only",
         {{2.0, Happening::tap, scanEnter}, {3.0, Happening::keyDown, scanEscape}, {4.0, Happening::keyUp, scanEscape}},
         "",
         true,
         {},
         lastEscape},
        {"Space in a watch goes back to the table, not to a game",
         {{2.0, Happening::tap, scanEnter}, {3.0, Happening::tap, scanSpace}},
         "",
         true,
         {},
         lastEscape},
        {"E exports the chosen row",
         {{2.0, Happening::tap, scanDown}, {2.2, Happening::tap, scanDown}, {2.4, Happening::tap, scanE}},
         "",
         false,
         {"wraps"},
         lastEscape},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        freshPlatform();
        addKeptGame(6, reversal.bytes, "reversal");
        addKeptGame(6, spoiled.bytes, "spoiled");
        addKeptGame(4, wraps.bytes, "wraps");
        addKeptGame(1, shortGame.bytes, "short");
        scriptTap(1.0, scanB);
        for (const Step& s : c.steps) scriptAt(s.at, s.what, s.key);
        scriptTap(17.5, scanEscape);
        scriptTap(lastEscape, scanEscape);
        Program program;
        loadKeptGames(program);
        EXPECT_EQ(runToEnd(program), 0);
        EXPECT_NEAR(scriptTime(), c.endsAt, 0.06);
        EXPECT_EQ(replayedWhole(program), c.watchedWhole);
        if (c.watchedPartly) {
            EXPECT_GT(program.replay.input.frames, 0u);
        } else if (c.watchedWhole[0] == '\0') {
            EXPECT_EQ(program.replay.input.frames, 0u) << "nothing watched";
        }
        std::vector<std::string> exported;
        for (const BestGameEntry& entry : scripted().exportedGames) exported.push_back(entry.recording);
        EXPECT_EQ(exported, c.exported);
        EXPECT_EQ(scripted().errorLines.size(), c.errorLines);
        EXPECT_FALSE(program.play.gamePlayed);
        EXPECT_TRUE(scripted().playedEffects.empty()) << "a watch plays no sound";
        EXPECT_TRUE(scripted().finishedGames.empty()) << "and keeps nothing";
    }
}

TEST(IdleCycle, ShowsTheTableThenReplaysTheBestThenTheOthersInTurnOnePerIdleSpell) {
    // The middle row has no recording: the cycle passes over it.
    const Game reversal = game("reversal_after_meal");
    const Game shortGame = game("short_game");
    const Game* const order[] = {&reversal, &shortGame, &reversal};
    freshPlatform();
    addKeptGame(6, reversal.bytes, "reversal");
    addKeptGame(5, {}, "none");
    addKeptGame(1, shortGame.bytes, "short");
    double titleAt = 0.0;
    std::vector<double> replayStarts;
    for (const Game* g : order) {
        replayStarts.push_back(titleAt + replayIdleSeconds + idleTableSeconds);
        titleAt = replayStarts.back() + g->seconds;
    }
    // Stopped on the title after the third replay, before its next table.
    stopAfter(titleAt + 5.0);
    Program program;
    loadKeptGames(program);
    EXPECT_EQ(program.kept.watch[1], Watch::refused) << "dimmed from the start";
    ASSERT_EQ(runToEnd(program), -1);
    EXPECT_EQ(replayedWhole(program), "reversal_after_meal");

    // Each idle spell: the title stands still, the table draws once, then the
    // replay draws frame after frame. Each stage ends at the first look at
    // the clock after its time, so later ones start a little late.
    titleAt = 0.0;
    for (std::size_t spell = 0; spell < replayStarts.size(); ++spell) {
        SCOPED_TRACE(testing::Message() << "idle spell " << spell + 1);
        const double tableAt = titleAt + replayIdleSeconds;
        const double replayAt = replayStarts[spell];
        EXPECT_EQ(presentsBetween(titleAt + 0.5, tableAt - 0.1), 0) << "the title";
        EXPECT_EQ(presentsBetween(tableAt - 0.1, replayAt - 0.1), 1) << "the table";
        const double seconds = order[spell]->seconds;
        // A picture for about every recorded frame of the game replayed.
        EXPECT_NEAR(presentsBetween(replayAt - 0.1, replayAt + seconds), seconds * 50.0, seconds * 10.0);
        titleAt = replayAt + seconds;
    }
    // The short game ran to its end between the two of the other.
    EXPECT_EQ(presentsBetween(replayStarts[1] + shortGame.seconds + 0.5, replayStarts[1] + 10.0), 0);
}

TEST(BestGamesRow, LinesUpUnderTheHeadsWithTheLengthInMinutesAndSeconds) {
    constexpr std::int64_t newYear2026 = 1'767'225'600;
    const struct {
        int rank;
        BestGameEntry entry;
        const char* row;
    } table[] = {
        {1, {163, newYear2026, 87.9, "a"}, "   1     163  2026-01-01 00:00    1:27"},
        {10, {5, newYear2026 + 3'600 + 60, 59.99, "b"}, "  10       5  2026-01-01 01:01    0:59"},
        {2, {123456, newYear2026, 3'600.0, ""}, "   2  123456  2026-01-01 00:00   60:00"},
        {3, {7, newYear2026, std::nan(""), "c"}, "   3       7  2026-01-01 00:00    0:00"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(bestGamesRow(row.rank, row.entry), row.row);
        EXPECT_EQ(bestGamesRow(row.rank, row.entry).size(), bestGamesHeader.size());
    }
}

}  // namespace
