// When the screens that stand still (the title, a paused game) make a
// picture: when the window asks for one or the title's pulse is due, at most
// 20 a second, and never while the window is minimised.
#include <gtest/gtest.h>

#include <limits>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

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
