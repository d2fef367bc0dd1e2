// The "Best games" screen and the title's idle cycle, run by timed scripts on
// the scripted platform over games recorded by version 1.1.0.
#include <gtest/gtest.h>

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

// A kept game of tests/data as bytes (spoiled: its first food moved, so the
// rules no longer follow it), and its recorded play time.
std::vector<std::uint8_t> gameBytes(const std::string& name, double& seconds, bool spoiled = false) {
    Recording recording;
    std::string problem;
    EXPECT_TRUE(loadKeptRecording(name, recording, problem)) << problem;
    seconds = std::accumulate(recording.frameTimes.begin(), recording.frameTimes.end(), 0.0);
    if (spoiled) recording.randoms[0] += 10.0 / 488.0;
    std::vector<std::uint8_t> bytes;
    encodeRecording(recording, bytes);
    return bytes;
}

// The kept game program.replay ran to its end, "part" when it stopped on the
// way, or "" when nothing was replayed.
std::string replayed(const Program& program) {
    for (const KeptGame& k : keptGames())
        if (program.replay.input.frames == static_cast<std::uint32_t>(k.frames) &&
            snakeHash(program.replay.snake) == k.snakeHash)
            return k.name;
    return program.replay.input.frames > 0 ? "part" : "";
}

TEST(BestGamesScreen, ArrowsChooseSpaceOrEnterWatchesEExportsAndEscapeGoesBackOneScreen) {
    double seconds = 0.0;
    const struct {
        int score;
        std::vector<std::uint8_t> bytes;
        const char* name;
    } rows[] = {{6, gameBytes("reversal_after_meal", seconds), "reversal"},
                {6, gameBytes("reversal_after_meal", seconds, true), "spoiled"},
                {4, gameBytes("wraps_both_ways", seconds), "wraps"},
                {1, gameBytes("short_game", seconds), "short"}};
    // B at 1 s, then from 2 s a key every quarter second: d Down, u Up, n
    // Enter, ' ' Space, e E, x Escape held half a second, '.' none. Escape at
    // 17.5 s and 18 s: from the screen back to the title, then quit; from the
    // title (the idle cycle's table stands from 12 s to 18 s) quit.
    const struct {
        const char* what;
        const char* keys;
        const char* watched;
        const char* exported;
        bool backOnTitle;
        std::size_t errorLines;
    } cases[] = {
        {"Enter watches the first row", "n", "reversal_after_meal", "", false, 0},
        {"Down twice and Space watch the third", "dd ", "wraps_both_ways", "", false, 0},
        {"Down stops at the last row", "dddddn", "short_game", "", false, 0},
        {"Up stops at the first row", "duun", "reversal_after_meal", "", false, 0},
        {"a row the rules no longer follow is checked once and not watched", "dn ", "", "", false, 1},
        {"E exports the chosen row", "dde", "", "wraps", false, 0},
        {"Escape, held, goes back to the title only", "x", "", "", true, 0},
        {"Escape, held, in a watch goes back to the table only", "n...x", "part", "", false, 0},
        {"Space in a watch goes back to the table, not to a game", "n.... ", "part", "", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        freshPlatform();
        for (const auto& row : rows) addKeptGame(row.score, row.bytes, row.name);
        scriptTap(1.0, scanB);
        for (int i = 0; c.keys[i] != '\0'; ++i) {
            const double at = 2.0 + 0.25 * i;
            const char key = c.keys[i];
            if (key == 'x') scriptHold(at, at + 0.5, scanEscape);
            if (key != 'x' && key != '.')
                scriptTap(at, key == 'd'   ? scanDown
                              : key == 'u' ? scanUp
                              : key == 'n' ? scanEnter
                              : key == 'e' ? scanE
                                           : scanSpace);
        }
        scriptTap(17.5, scanEscape);
        scriptTap(18.0, scanEscape);
        Program program;
        loadKeptGames(program);
        EXPECT_EQ(runToEnd(program), 0);
        EXPECT_NEAR(scriptTime(), c.backOnTitle ? 17.5 : 18.0, 0.06);
        EXPECT_EQ(replayed(program), c.watched);
        const auto& exported = scripted().exportedGames;
        EXPECT_EQ(exported.empty() ? "" : exported[0].recording, c.exported);
        EXPECT_EQ(scripted().errorLines.size(), c.errorLines);
        EXPECT_FALSE(program.play.gamePlayed);
        EXPECT_TRUE(scripted().finishedGames.empty()) << "a watch keeps nothing";
    }
}

TEST(IdleCycle, ShowsTheTableThenReplaysTheBestThenTheOthersInTurnOnePerIdleSpell) {
    // The middle row has no recording: the cycle passes over it.
    double reversal = 0.0, shortGame = 0.0;
    freshPlatform();
    addKeptGame(6, gameBytes("reversal_after_meal", reversal), "reversal");
    addKeptGame(5, {}, "none");
    addKeptGame(1, gameBytes("short_game", shortGame), "short");
    const double lengths[] = {reversal, shortGame, reversal};
    // Each idle spell: the title stands still for ten seconds, the table
    // draws once and stands six, then the replay draws about a picture a
    // recorded frame. Each stage ends at the first look at the clock after
    // its time, so later ones start a little late.
    const double spell = replayIdleSeconds + idleTableSeconds;
    stopAfter(3 * spell + reversal + shortGame + reversal + 5.0);
    Program program;
    loadKeptGames(program);
    EXPECT_EQ(program.kept.watch[1], Watch::refused) << "dimmed from the start";
    ASSERT_EQ(runToEnd(program), -1);
    EXPECT_EQ(replayed(program), "reversal_after_meal");
    double titleAt = 0.0;
    for (const double length : lengths) {
        SCOPED_TRACE(testing::Message() << "idle spell from " << titleAt << " s");
        const double tableAt = titleAt + replayIdleSeconds, replayAt = titleAt + spell;
        EXPECT_EQ(presentsBetween(titleAt + 0.5, tableAt - 0.1), 0) << "the title";
        EXPECT_EQ(presentsBetween(tableAt - 0.1, replayAt - 0.1), 1) << "the table";
        EXPECT_NEAR(presentsBetween(replayAt - 0.1, replayAt + length), length * 50.0, length * 10.0);
        EXPECT_EQ(presentsBetween(replayAt + length + 0.3, replayAt + length + 2.0), 0) << "ended: the title";
        titleAt = replayAt + length;
    }
}

TEST(BestGamesRow, LinesUpUnderTheHeadsWithTheLengthInMinutesAndSeconds) {
    const struct {
        int rank;
        BestGameEntry entry;
        const char* row;
    } table[] = {
        {1, {163, 1'767'225'600, 87.9, "a"}, "   1     163  2026-01-01 00:00    1:27"},
        {10, {123456, 1'767'229'260, 3'600.0, ""}, "  10  123456  2026-01-01 01:01   60:00"},
        {2, {7, 1'767'225'600, 0.0, "c"}, "   2       7  2026-01-01 00:00       -"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(bestGamesRow(row.rank, row.entry), row.row);
        EXPECT_EQ(bestGamesRow(row.rank, row.entry).size(), bestGamesHeader.size());
    }
}

}  // namespace
