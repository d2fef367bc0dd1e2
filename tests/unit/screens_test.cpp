// The screens between games: the "Best games" screen and the title's idle
// cycle, when a screen that stands still makes a picture, and a recording
// named on the command line.
#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "game/program_flow.h"
#include "game/timed_demo.h"
#include "platform/platform.h"
#include "render/best_games_screen.h"
#include "rules/recording_file.h"
#include "support/recorded_games.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

// The "Best games" screen and the title's idle cycle, run by timed scripts on
// the scripted platform over games recorded by version 1.1.0.
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

// When the screens that stand still (the title, a paused game) make a
// picture: when the window asks for one or the title's pulse is due, at most
// 20 a second, and never while the window is minimised.
namespace still_screen {

namespace {

constexpr double never = std::numeric_limits<double>::infinity();

enum class Screen { firstTitle, titleAfterGame, paused, play, replay };

struct ScreenRow {
    const char* what;
    Screen screen;
    double shownBy;  // seconds after the start
};

// The way from the start to the screen. A game here goes straight up into the
// top edge, over about 1.1 s; it is a kept game, which the title's idle
// cycle shows in the table after 10 s without a key and replays 6 s later,
// for about as long.
void scriptWayTo(Screen screen) {
    foodFarOff();
    switch (screen) {
    case Screen::firstTitle: break;
    case Screen::titleAfterGame:
    case Screen::replay:
        scriptTap(0.0, scanSpace);
        scriptHold(0.0, 2.0, scanUp);
        break;
    case Screen::paused:
        scriptTap(0.0, scanSpace);
        scriptTap(1.0, scanP);
        break;
    case Screen::play: scriptTap(0.0, scanSpace); break;
    }
}

const ScreenRow everyScreen[] = {
    {"the first title", Screen::firstTitle, 1.0},             // from the start
    {"the title after a game", Screen::titleAfterGame, 3.0},  // pulsing
    {"a paused game", Screen::paused, 2.0},                   // since 1 s
    {"a game in play", Screen::play, 1.0},                    // since 0 s
    {"the best game's replay", Screen::replay, 17.6},         // from about 17.1 s to 18.3 s
};

TEST(StillScreen, PresentsNothingUntilTheWindowAsksAndAllowsTheScreensaver) {
    // A second without events from 2 s, then the window exposed (or not),
    // then Escape.
    const struct {
        ScreenRow screen;
        bool exposed;
    } table[] = {
        {{"the first title", Screen::firstTitle, 2.0}, false},
        {{"the first title", Screen::firstTitle, 2.0}, true},
        {{"a paused game", Screen::paused, 2.0}, false},
        {{"a paused game", Screen::paused, 2.0}, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.screen.what << (row.exposed ? ", exposed" : ""));
        freshPlatform();
        scriptWayTo(row.screen.screen);
        const double quiet = row.screen.shownBy;
        if (row.exposed) scriptAt(quiet + 1.0, Happening::exposed);
        scriptTap(quiet + 1.5, scanEscape);
        Program program;
        EXPECT_EQ(runSession(program), 0);
        EXPECT_EQ(presentsBetween(quiet, quiet + 1.0), 0);
        EXPECT_EQ(presentsBetween(quiet + 1.0, never), row.exposed ? 1 : 0);
        EXPECT_TRUE(scripted().screensaverAllowed);
    }
}

TEST(StillScreen, ThePulsingTitleShowsAtMostTwentyPicturesAScriptedSecond) {
    // A display that paces each present to its refresh, and one that takes
    // next to no time.
    for (const double presentSeconds : {1.0 / 60.0, 0.001}) {
        SCOPED_TRACE(presentSeconds);
        freshPlatform(presentSeconds);
        scriptWayTo(Screen::titleAfterGame);
        scriptTap(9.0, scanEscape);
        Program program;
        runSession(program);
        ASSERT_TRUE(program.play.gamePlayed);
        for (double second = 3.0; second < 9.0; second += 1.0) {
            const int pictures = presentsBetween(second, second + 1.0);
            EXPECT_LE(pictures, 20) << "from " << second << " s";
            EXPECT_GE(pictures, 5) << "from " << second << " s: the score should pulse";
        }
    }
}

TEST(StillScreen, NothingIsPresentedWhileTheWindowIsMinimised) {
    // Minimised for three seconds, restored, Escape a second later.
    for (const ScreenRow& row : everyScreen) {
        SCOPED_TRACE(row.what);
        freshPlatform();
        scriptWayTo(row.screen);
        const double away = row.shownBy;
        scriptAt(away, Happening::minimised);
        scriptAt(away + 3.0, Happening::restored);
        scriptTap(away + 4.0, scanEscape);
        Program program;
        EXPECT_EQ(runSession(program), 0);
        // The present that saw it may end a little after.
        EXPECT_EQ(presentsBetween(away + 0.1, away + 3.0), 0);
        EXPECT_GE(presentsBetween(away + 3.0, away + 3.1), 1) << "a picture once restored";
        if (row.screen == Screen::replay) {
            EXPECT_GT(program.replay.input.frames, 0u) << "the replay ran";
        }
        if (row.screen == Screen::play) {
            EXPECT_TRUE(scripted().screensaverAllowed) << "the game paused";
        }
    }
}

TEST(StillScreen, ASignalOrEscapeEndsTheProgramWhileTheWindowIsMinimised) {
    // Keys reach only a window with the focus: in the Escape rows it has the
    // focus back but is still not shown.
    for (const bool signal : {true, false}) {
        for (const ScreenRow& row : everyScreen) {
            SCOPED_TRACE(testing::Message() << row.what << (signal ? ", a signal" : ", Escape"));
            freshPlatform();
            scriptWayTo(row.screen);
            const double away = row.shownBy;
            scriptAt(away, Happening::minimised);
            const double end = away + 1.0;
            if (signal) {
                scriptAt(end, Happening::termination);
            } else {
                scriptAt(end, Happening::focusGained);
                scriptAt(end, Happening::keyDown, scanEscape);
            }
            Program program;
            EXPECT_EQ(runSession(program), 0);
            EXPECT_LT(scriptTime(), end + 0.06);
            EXPECT_EQ(presentsBetween(away + 0.1, never), 0);
        }
    }
}

}  // namespace

}  // namespace still_screen

// A recording named on the command line: replayed before the first title, or
// timed frame by frame.
namespace named_recording {

namespace {

Recording keptRecording(const std::string& name) {
    Recording recording;
    std::string problem;
    EXPECT_TRUE(loadKeptRecording(name, recording, problem)) << problem;
    return recording;
}

TEST(OpeningReplay, PlaysWhileTheWindowIsNotYetInViewThenGivesTheRecordingBack) {
    freshPlatform();
    Recording named = keptRecording("short_game");
    const Recording namedBefore = named;
    Program program;
    // The window gets the focus a little after it opens.
    scriptAt(0.0, Happening::focusLost);
    static_cast<void>(waitForEvents(0));
    scriptAt(0.5, Happening::focusGained);
    scriptTap(3.0, scanEscape);
    EXPECT_EQ(runSession(program, &named), 0);
    EXPECT_EQ(program.replay.input.frames, namedBefore.frameTimes.size()) << "replayed to its end";
    EXPECT_EQ(named, namedBefore);
}

TEST(TimedDemo, DrawsEveryFrameWithoutSleepOrWaitAndTimesThemFromPresentToPresent) {
    const struct {
        const char* what;
        double escapeAt;
        std::vector<std::string> lines;
    } table[] = {
        {"to its end", 100.0, {"timedemo: frames=105 seconds=2.100 fps=50.0 low1=50.0 p99ms=20.00\r\n"}},
        {"stopped by Escape, without a line", 0.99, {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        freshPlatform(0.02);
        scriptTap(row.escapeAt, scanEscape);
        Recording recording = keptRecording("short_game");
        const Recording before = recording;
        Program program;
        EXPECT_EQ(runTimedDemo(program, recording), 0);
        EXPECT_EQ(scripted().consoleLines, row.lines);
        EXPECT_EQ(scripted().presentTimes.size(), row.lines.empty() ? 50u : 105u);
        EXPECT_EQ(scripted().sleptMilliseconds + scripted().waits, 0);
        EXPECT_EQ(recording, before);
    }
}

std::vector<double> frames(std::vector<double> times, std::size_t count, double seconds) {
    times.insert(times.end(), count, seconds);
    return times;
}

TEST(TimedDemo, LowOneIsTheRateOfTheSlowestHundredthAndP99TheNearestRank) {
    const struct {
        const char* what;
        std::vector<double> times;
        FrameTimeSummary expected;
    } table[] = {
        {"one frame", {0.025}, {1, 0.025, 40.0, 40.0, 25.0}},
        {"one slow frame in a hundred", frames({0.05}, 99, 0.01), {100, 1.04, 100 / 1.04, 20.0, 10.0}},
        {"101 frames: the slowest two", frames({0.06, 0.04}, 99, 0.01), {101, 1.09, 101 / 1.09, 20.0, 40.0}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        const FrameTimeSummary got = summariseFrameTimes(row.times);
        EXPECT_EQ(got.frames, row.expected.frames);
        EXPECT_NEAR(got.seconds, row.expected.seconds, 1e-9);
        EXPECT_NEAR(got.fps, row.expected.fps, 1e-9);
        EXPECT_NEAR(got.low1, row.expected.low1, 1e-9);
        EXPECT_NEAR(got.p99ms, row.expected.p99ms, 1e-9);
    }
}

}  // namespace

}  // namespace named_recording
