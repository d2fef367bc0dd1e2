// The whole program (title, play, pause) run by a timed script of keys and
// window events on the scripted platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <numeric>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "rules/frame_rules.h"
#include "state/play_state.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

namespace {

constexpr double never = std::numeric_limits<double>::infinity();

TEST(Session, EscapeOrASignalEndsTheTitleBeforeItsNextPictureAndAGameAfterItsFrame) {
    // The title until 0.5 s; in the play rows Space starts a game there.
    const struct {
        const char* what;
        bool inPlay;
        bool signal;
    } table[] = {
        {"Escape on the title", false, false},
        {"a signal on the title", false, true},
        {"Escape in play", true, false},
        {"a signal in play", true, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        freshPlatform();
        foodFarOff();
        if (row.inPlay) scriptTap(0.5, scanSpace);
        const double end = 1.0;
        if (row.signal)
            scriptAt(end, Happening::termination);
        else
            scriptTap(end, scanEscape);
        Program program;
        EXPECT_EQ(runSession(program), 0);
        EXPECT_EQ(program.play.gamePlayed, row.inPlay);
        EXPECT_GT(scripted().waits, 0) << "the title waits for events";
        if (row.inPlay) {
            EXPECT_EQ(presentsBetween(end, never), 1) << "the frame that saw it is shown";
            EXPECT_GT(presentsBetween(0.5, end), 10);
            EXPECT_GT(scripted().sleptMilliseconds, 0) << "play frames give the processor back";
            EXPECT_TRUE(scripted().openChannels.empty()) << "leaving a game closes the console";
            EXPECT_TRUE(program.play.snake.empty()) << "and releases the snake";
        } else {
            EXPECT_EQ(scripted().presentTimes.size(), 1u) << "the title is not drawn again";
            EXPECT_LT(scriptTime(), end + 0.06) << "seen within one wait";
            EXPECT_EQ(scripted().openChannels.size(), 1u) << "leaving the title leaves the console open";
        }
    }
}

TEST(Session, GameStartSetsHeadingSnakeAndClockAndKeepsWhatGamesCarryOver) {
    freshPlatform();
    Program program;
    PlayState& play = program.play;
    play.headAngle = 270;
    play.heading = {0.0f, -2.0f, 0.0f};
    play.playTime = 3.5;
    play.nextTrailStep = 99.0;
    play.reversalPulse = 7.0f;
    play.movingHorizontally = false;
    play.movingVertically = true;
    const CarriedOver carried = carriedOver(play);
    scripted().now = 1050.0;
    startGame(program);
    EXPECT_EQ(play.headAngle, 0);
    EXPECT_EQ(play.heading, (Vec3f{2.0f, 0.0f, 0.0f}));
    EXPECT_EQ(play.lastClock, 1050.0);
    EXPECT_TRUE(play.gamePlayed);
    EXPECT_EQ(play.snake.size(), 2u);
    EXPECT_EQ(carriedOver(play), carried);
}

TEST(Session, ANewGamePlacesItsFoodAgainstTheNewSnakeNotTheLastGames) {
    freshPlatform();
    Program program;
    // The last game's snake lay where the second draw falls.
    program.play.snake.assign(3, Segment{});
    for (Segment& s : program.play.snake) {
        s.x = 122.0f;
        s.y = 76.0f;
    }
    // First draw on the new snake at (256, 128), second at (122, 76).
    scripted().randoms = {0.5246, 0.5, 0.0, 0.25, 0.25, 0.0, 0.9, 0.9, 0.0};
    startGame(program);
    EXPECT_EQ(program.play.food.x, 122.0f);
    EXPECT_EQ(program.play.food.y, 76.0f);
    EXPECT_EQ(scripted().randoms.size(), 3u) << "two draws";
}

TEST(StartUp, SeedsTheRandomSourceFromTheClock) {
    // Drawing needs a GL context, which the window-less tests lack: the
    // display fails to open and start-up ends there, after the seeding.
    auto firstFood = [](double clock) {
        freshPlatform();
        scripted().start = scripted().now = clock;
        scripted().displayOpens = false;
        Program program;
        EXPECT_THROW(startUp(program), ProgramEnded);
        startGame(program);
        return program.play.food;
    };
    const Food first = firstFood(1000.0);
    EXPECT_EQ(firstFood(1000.0), first);
    EXPECT_NE(firstFood(2000.0), first) << "the same first food at another time";
}

// Space at the start and the run stopped at `end`: the game as it stands.
PlayState playUntil(double presentSeconds, double end) {
    freshPlatform(presentSeconds);
    foodFarOff();
    scriptTap(0.0, scanSpace);
    stopAfter(end);
    Program program;
    runToEnd(program);
    return program.play;
}

TEST(FrameTime, IsTheTimeSinceTheLastFrameUpToATwentiethOfASecond) {
    const struct {
        double presentSeconds;
        bool capped;
    } table[] = {
        {0.007, false},
        {0.5, true},  // a machine too slow for 20 frames a second
        {3.0, true},  // or a stall: a suspended laptop, a stopped process
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.presentSeconds);
        const PlayState play = playUntil(row.presentSeconds, 40 * row.presentSeconds);
        const std::vector<double>& steps = play.input.recording.frameTimes;
        ASSERT_GT(steps.size(), 20u);
        const std::vector<double>& presents = scripted().presentTimes;
        const double frameGap = presents.back() - presents[presents.size() - 2];
        // The first frame follows game start at once; each later one measures
        // the gap since the one before, the same as between two pictures.
        for (std::size_t i = 1; i < steps.size(); ++i) {
            if (row.capped)
                EXPECT_EQ(steps[i], longestFrameTime) << i;
            else
                EXPECT_NEAR(steps[i], frameGap, 1e-9) << i;
        }
        EXPECT_EQ(play.frameTime, steps.back());
        EXPECT_NEAR(play.playTime, std::accumulate(steps.begin(), steps.end(), 0.0), 1e-9);
        // The drum turns to where the head was when the frame began: behind
        // the head, moving right, by that frame's travel.
        const float lag = play.snake[0].x + play.viewX;
        EXPECT_GT(lag, 0.0f);
        EXPECT_LE(lag, 5.0f);
    }
}

// The scripted times of the pictures of a game played from the start until `end`.
std::vector<double> presentTimesOfPlay(double presentSeconds, double end) {
    playUntil(presentSeconds, end);
    return scripted().presentTimes;
}

TEST(FrameTime, AMachineTooSlowForTwentyFramesASecondPlaysTheSameGameOnlySlower) {
    // Right, a reversal, Left for a while, then Up into the top edge. Each
    // key goes down and up between the same two pictures at either speed,
    // so the same frames see it.
    auto play = [](double presentSeconds) {
        const std::vector<double> presents = presentTimesOfPlay(presentSeconds, 80 * presentSeconds);
        auto between = [&](int frame) { return (presents[frame] + presents[frame + 1]) / 2.0; };
        freshPlatform(presentSeconds);
        foodFarOff();
        scriptTap(0.0, scanSpace);
        scriptHold(between(18), between(20), scanLeft);
        scriptHold(between(48), between(50), scanUp);
        scriptTap(presents.back() + 40 * presentSeconds, scanEscape);
        Program program;
        runSession(program);
        return program.play;
    };
    const PlayState fast = play(0.06);
    PlayState slow = play(0.5);
    ASSERT_EQ(fast.headAngle, 90) << "the reversal and the turn up both happened";
    ASSERT_FALSE(fast.snake.empty()) << "ran into the top edge: Escape on the title keeps the snake";
    EXPECT_EQ(fast.frameTime, longestFrameTime);
    slow.lastClock = fast.lastClock;  // the one thing the wall clock may change
    EXPECT_EQ(slow, fast);
}

TEST(GameOver, SpaceStillHeldStartsTheNextGameFromTheTitlesFirstPicture) {
    freshPlatform();
    foodFarOff(2);
    // Up into the top edge, about 1.1 s after game start, with Space held
    // over the game over; Escape in the second game.
    scriptHold(0.0, 10.0, scanUp);
    scriptHold(0.0, 1.5, scanSpace);
    scriptTap(1.8, scanEscape);
    Program program;
    runSession(program);
    const PlayState& play = program.play;
    EXPECT_EQ(scripted().waits, 0) << "the title never waited for a key";
    EXPECT_GT(play.input.recording.carried.playTime, 1.0) << "the game in play began after the first";
    EXPECT_GT(play.input.frames, 0u);
    // The first went up; the title set the next off to the right again.
    EXPECT_TRUE(play.input.recording.carried.movingHorizontally);
    EXPECT_FALSE(play.input.recording.carried.movingVertically);
}

TEST(GameOver, EveryGameIsOfferedToTheBestGamesAndTheTitleShowsTheBestKept) {
    // Each game goes straight up into the top edge: score 1.
    const struct {
        int knownBest;  // what this game read at start-up
        int kept;       // what the store holds at game over: another game may have kept more
        int shown;
    } table[] = {
        {-1, -1, 1},  // the first score is the best
        {5, 5, 5},    // a lower one is not
        {-1, 9, 9},   // nor is one below what another game kept meanwhile
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "best " << row.knownBest << ", kept " << row.kept);
        freshPlatform();
        foodFarOff();
        scripted().bestScore = row.kept;
        scriptHold(0.0, 2.0, scanUp);
        scriptTap(0.0, scanSpace);
        scriptTap(3.0, scanEscape);
        Program program;
        program.play.bestScore = row.knownBest;
        runSession(program);
        const PlayState& play = program.play;
        ASSERT_EQ(upperIndex(play.snake), 1);
        ASSERT_EQ(scripted().finishedGames.size(), 1u);
        const auto& kept = scripted().finishedGames[0];
        EXPECT_EQ(kept.score, 1);
        // Its length is the play time of its recorded frames.
        const auto& steps = play.input.recording.frameTimes;
        EXPECT_NEAR(kept.playSeconds, std::accumulate(steps.begin(), steps.end(), 0.0), 1e-9);
        EXPECT_GT(kept.playSeconds, 1.0);
        EXPECT_FALSE(kept.recording.empty());
        EXPECT_EQ(play.bestScore, row.shown);
        EXPECT_EQ(program.kept.table, scripted().bestGames) << "the table as kept after the game";
    }
}

// Pause: Space at the start, Left at 0.3 s (a reversal whose pulse still runs
// at 0.6 s) and the picture of the first frame shown at or after 0.6 s; each
// run ends just after that frame or pauses there.
class Pause : public ::testing::Test {
protected:
    void SetUp() override {
        script();
        scriptTap(2.0, scanEscape);
        Program probe;
        runSession(probe);
        atPause = duringPresentFrom(0.6);
        ASSERT_GT(atPause, 0.6 - scripted().presentSeconds);

        script();
        stopAfter(atPause);
        runToEnd(straight);
        ASSERT_GT(straight.play.reversalPulse, 0.0f) << "the reversal should still be running at the pause";
    }
    static void script() {
        freshPlatform();
        foodFarOff();
        scriptTap(0.0, scanSpace);
        scriptTap(0.3, scanLeft);
    }
    double atPause = 0.0;
    Program straight;  // the game at that frame, never paused
};

TEST_F(Pause, AGamePausedForAnyTimeIsLeftExactlyAsItWas) {
    script();
    scriptTap(atPause, scanP);
    // Pictures asked for meanwhile; the window looked away and came back.
    for (double at = 1.0; at < 5.0; at += 1.0) scriptAt(at, Happening::exposed);
    scriptAt(5.0, Happening::focusLost);
    scriptAt(6.0, Happening::focusGained);
    stopAfter(100.0);
    Program paused;
    runToEnd(paused);
    EXPECT_GT(presentsBetween(1.0, never), 4) << "the paused game was drawn again";
    EXPECT_EQ(paused.play, straight.play);
}

TEST_F(Pause, ResumingLeavesThePausedTimeOut) {
    script();
    scriptTap(atPause, scanP);
    scriptTap(atPause + 2.0, scanP);
    stopAfter(atPause + 2.5);
    Program resumed;
    runToEnd(resumed);
    const std::vector<double>& before = straight.play.input.recording.frameTimes;
    const std::vector<double>& steps = resumed.play.input.recording.frameTimes;
    ASSERT_GT(steps.size(), before.size() + 10) << "played on after the pause";
    EXPECT_TRUE(std::equal(before.begin(), before.end(), steps.begin()));
    const double longest = *std::max_element(before.begin(), before.end());
    for (std::size_t i = before.size(); i < steps.size(); ++i) EXPECT_LE(steps[i], longest + 1e-9) << i;
}

TEST(Taps, AnArrowTappedBetweenTwoPicturesTurnsTheSnakeAtAnyFrameRate) {
    // The arrows are read only when the head enters a new whole board pixel,
    // which at the highest rate here is one frame in three or so. The taps
    // fall at every phase of that reading.
    for (const double presentSeconds : {1.0 / 60.0, 1.0 / 144.0, 1.0 / 240.0, 0.0003}) {
        SCOPED_TRACE(presentSeconds);
        int turned = 0;
        const int taps = 20;
        for (int tap = 0; tap < taps; ++tap) {
            freshPlatform(presentSeconds);
            foodFarOff();
            scriptTap(0.0, scanSpace);
            scriptTap(1.0 + tap * 0.0011, scanUp);
            scriptTap(1.5, scanEscape);
            Program program;
            runSession(program);
            if (program.play.headAngle == 90 && program.play.heading.y == 2.0f) ++turned;
        }
        EXPECT_EQ(turned, taps);
    }
}

TEST(LookingAway, PausesAGameUntilThePlayerResumesAndLeavesTheTitleAlone) {
    // Space at `start`; the window loses the focus at 1 s and 3 s and gets it
    // back at 2 s and 4 s; P at 5 s, Escape at 6 s. (Minimised is the same
    // looking away to the loop.)
    const struct {
        const char* what;
        double start;
        double playTime;
    } table[] = {
        // Paused from 1 s until P: resumed for the last second.
        {"in play", 0.0, 2.0},
        // The game starts after it all and plays until P pauses it.
        {"on the title", 4.5, 0.5},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        freshPlatform();
        foodFarOff();
        scriptTap(row.start, scanSpace);
        for (const double at : {1.0, 3.0}) {
            scriptAt(at, Happening::focusLost);
            scriptAt(at + 1.0, Happening::focusGained);
        }
        scriptTap(5.0, scanP);
        scriptTap(6.0, scanEscape);
        Program program;
        runSession(program);
        EXPECT_NEAR(program.play.playTime, row.playTime, 0.05);
        EXPECT_EQ(scripted().screensaverAllowed, row.start > 0.0) << "allowed while paused, held off in play";
    }
}

TEST(StateChanges, APressMadeForOneStateNeverActsInTheNext) {
    // Space at 0.5 s, P at 1.0 s and 1.5 s, Escape at 2 s; Down tapped on
    // the title, while paused, or in play.
    const struct {
        const char* where;
        double at;
        int headAngle;
    } table[] = {
        {"on the title", 0.25, 0},
        {"while paused", 1.25, 0},
        {"in play", 0.75, 270},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.where);
        freshPlatform();
        foodFarOff();
        scriptTap(row.at, scanDown);
        scriptTap(0.5, scanSpace);
        scriptTap(1.0, scanP);
        scriptTap(1.5, scanP);
        scriptTap(2.0, scanEscape);
        Program program;
        runSession(program);
        EXPECT_EQ(program.play.headAngle, row.headAngle);
    }

    // Space tapped in a game does not start the next from the title.
    freshPlatform();
    foodFarOff(2);
    scriptHold(0.0, 3.0, scanUp);
    scriptTap(0.0, scanSpace);
    scriptTap(0.5, scanSpace);
    scriptTap(3.0, scanEscape);
    Program program;
    runSession(program);
    EXPECT_EQ(program.play.input.recording.carried.playTime, 0.0) << "a second game began";
    EXPECT_GT(program.play.input.frames, 0u);
}

}  // namespace
