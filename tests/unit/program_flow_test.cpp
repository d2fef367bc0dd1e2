// The title and play loops driven by a scripted clock and key state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <utility>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "support/scripted_platform.h"

namespace {

class Loops : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        consoleChannel = openConsole();
    }
    Program program;
};

TEST_F(Loops, EscapeOnTheTitleEndsBeforeThatFrameIsPresented) {
    scripted().keysBeforeFirstPresent = {scanEscape};
    EXPECT_EQ(runSession(program), 0);
    EXPECT_EQ(scripted().presents, 0);
    EXPECT_FALSE(program.play.gamePlayed);
    EXPECT_EQ(scripted().openChannels.size(), 1u) << "the title path leaves the console open";
}

TEST_F(Loops, AStillScreenPresentsNothingUntilTheWindowNeedsItAndAllowsTheScreensaver) {
    // A scripted second of waiting without events, then the window exposed
    // (or not), then Escape tapped.
    const struct {
        bool paused;
        bool exposed;
        int presents;
    } table[] = {
        {false, false, 1},
        {false, true, 2},
        {true, false, 6},  // five play frames, P at the fifth, one still frame
        {true, true, 7},
    };
    for (const auto& row : table) {
        resetScriptedPlatform();
        consoleChannel = openConsole();
        Program program;
        const int quietWaits = 20;  // of 50 ms each
        if (row.exposed) scripted().eventsInWait[quietWaits + 1].window = {WindowEvent::exposed};
        scripted().eventsInWait[quietWaits + (row.exposed ? 2 : 1)].taps = {scanEscape};
        const double start = scripted().now;
        if (row.paused) {
            scripted().keysAfterPresent = {{}, {}, {}, {}, {scanP}, {}};
            startGame(program);
            EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
        } else {
            returnToTitle(program);
            EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);
        }
        EXPECT_EQ(scripted().presents, row.presents) << "paused " << row.paused << ", exposed " << row.exposed;
        EXPECT_GE(scripted().now - start, 1.0);
        EXPECT_TRUE(scripted().screensaverAllowed);
    }
}

TEST_F(Loops, SpaceStartsAGameAndEscapeInPlayEndsAfterThatFrameIsPresented) {
    scripted().keysAfterPresent = {{scanSpace}, {}, {scanEscape}};
    EXPECT_EQ(runSession(program), 0);
    EXPECT_EQ(scripted().presents, 3) << "one title frame, two play frames";
    EXPECT_EQ(scripted().sleeps, 2) << "play frames sleep; the title waits for events";
    EXPECT_TRUE(program.play.gamePlayed);
    EXPECT_TRUE(scripted().openChannels.empty()) << "the play path closes the console";
    EXPECT_TRUE(program.play.snake.empty()) << "the play path releases the snake";
}

TEST_F(Loops, GameStartSetsHeadingAndClockAndKeepsTheRest) {
    program.play.headAngle = 270;
    program.play.heading = {0.0f, -2.0f, 0.0f};
    program.play.playTime = 3.5;
    program.play.nextTrailStep = 99.0;
    program.play.reversalPulse = 7.0f;
    scripted().now = 50.0;
    startGame(program);
    EXPECT_EQ(program.play.headAngle, 0);
    EXPECT_EQ(program.play.heading.x, 2.0f);
    EXPECT_EQ(program.play.heading.y, 0.0f);
    EXPECT_EQ(program.play.lastClock, 50.0);
    EXPECT_TRUE(program.play.gamePlayed);
    ASSERT_EQ(program.play.snake.size(), 2u);
    EXPECT_EQ(program.play.playTime, 3.5);
    EXPECT_EQ(program.play.nextTrailStep, 99.0);
    EXPECT_EQ(program.play.reversalPulse, 7.0f);
}

TEST_F(Loops, APlayFrameMeasuresItsTimeAndSwaysTheHeading) {
    scripted().now = 10.0;
    scripted().clockStep = 0.0;
    startGame(program);
    scripted().now = 10.02;
    scripted().keysAfterPresent = {{scanEscape}};
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
    const double frameTime = 10.02 - 10.0;
    EXPECT_EQ(program.play.frameTime, frameTime);
    EXPECT_EQ(program.play.playTime, frameTime);
    EXPECT_EQ(program.play.wiggle, static_cast<float>(std::sin(20.0 * frameTime) * 0.5));
    EXPECT_EQ(program.play.heading.y, program.play.wiggle) << "moving right: the wiggle goes into y";
    EXPECT_EQ(program.play.viewX, -256.0f) << "the head's place before it moved";
    EXPECT_EQ(program.play.viewY, -128.0f);
}

// Keys from the next present on: everything before stays as it was.
void holdFromNextPresent(std::set<int> keys) {
    auto& after = scripted().keysAfterPresent;
    after.resize(static_cast<std::size_t>(scripted().presents) + 1, after.empty() ? std::set<int>{} : after.back());
    after.back() = std::move(keys);
}

TEST_F(Loops, HoldingUpFromGameStartReachesTheTopRowAfterAbout1Point1Seconds) {
    scripted().clockStep = 0.004;
    scripted().keysAfterPresent = {{scanSpace, scanUp}};
    scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
    returnToTitle(program);
    ASSERT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    startGame(program);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    // 110 pixels up at 100 pixels a second; playTime counts game time from 0.
    EXPECT_GT(program.play.playTime, 1.1);
    EXPECT_LT(program.play.playTime, 1.15);
    EXPECT_GT(program.play.snake[0].y, 238.0f);
    EXPECT_EQ(program.play.headAngle, 90);

    holdFromNextPresent({scanEscape});
    returnToTitle(program);
    EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);
    EXPECT_EQ(upperIndex(program.play.snake), 1) << "the snake is kept as the previous score";
    EXPECT_TRUE(program.play.movingHorizontally);
    EXPECT_FALSE(program.play.movingVertically);
}

// Runs play frames until the given number have been presented; Escape then
// ends the loop, leaving the game as it stands.
void runPlayFrames(Program& program, int frames) {
    auto& after = scripted().keysAfterPresent;
    after.resize(static_cast<std::size_t>(scripted().presents + frames - 1));
    after.push_back({scanEscape});
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::quit);
}

TEST_F(Loops, AFrameAdvancesTheGameByAtMostATwentiethOfASecondAndTheWiggleFollowsTheTotal) {
    scripted().clockStep = 0.005;          // the frame and the food digit read it: 0.01 s a frame
    scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
    startGame(program);
    runPlayFrames(program, 10);
    EXPECT_NEAR(program.play.frameTime, 0.01, 1e-9);

    const double quickTime = program.play.playTime;  // 0.005 + 9 x 0.01 from game start

    // A stall of three seconds (a suspended laptop) moves the head 5 pixels.
    const float xBefore = program.play.snake[0].x;
    scripted().now += 3.0;
    runPlayFrames(program, 1);
    EXPECT_EQ(program.play.frameTime, 0.05);
    EXPECT_NEAR(program.play.playTime - quickTime, 0.05, 1e-12);
    EXPECT_FLOAT_EQ(program.play.snake[0].x - xBefore, 5.0f);

    // Below 20 frames a second every frame counts 0.05 s.
    scripted().now += 1.0;
    scripted().clockStep = 0.3;
    runPlayFrames(program, 5);
    EXPECT_EQ(program.play.frameTime, 0.05);
    const double total = quickTime + 0.05 + 5 * 0.05;
    EXPECT_NEAR(program.play.playTime, total, 1e-9);
    EXPECT_NEAR(program.play.snake[0].x, 256.0 + 100.0 * total, 1e-3);
    EXPECT_EQ(program.play.wiggle, static_cast<float>(std::sin(20.0 * program.play.playTime) * 0.5));
    EXPECT_NEAR(program.play.wiggle, std::sin(20.0 * 0.395) * 0.5, 1e-6) << "the whole play time, not the frame's";
    EXPECT_EQ(program.play.heading.y, program.play.wiggle);
}

TEST_F(Loops, AMachineTooSlowForTwentyFramesASecondPlaysTheSameGameOnlySlower) {
    // Right for 19 frames, a reversal, the pulse, Up, then on to frame 70.
    auto play = [](double secondsPerFrame, PlayOutcome& outcome) {
        resetScriptedPlatform();
        consoleChannel = openConsole();
        scripted().clockStep = secondsPerFrame;
        auto& after = scripted().keysAfterPresent;
        after.assign(69, {});
        after[19] = after[20] = {scanLeft};
        after[49] = after[50] = after[51] = {scanUp};
        after.push_back({scanEscape});
        Program program;
        startGame(program);
        outcome = runPlayLoop(program);
        return program.play;
    };
    PlayOutcome fastOutcome, slowOutcome;
    const PlayState fast = play(0.06, fastOutcome);
    const PlayState slow = play(0.5, slowOutcome);
    EXPECT_EQ(fastOutcome, PlayOutcome::quit);
    EXPECT_EQ(slowOutcome, fastOutcome);
    EXPECT_NEAR(fast.playTime, 70 * 0.05, 1e-9);
    EXPECT_EQ(slow.playTime, fast.playTime);
    EXPECT_EQ(slow.wiggle, fast.wiggle);
    EXPECT_EQ(slow.reversalPulse, fast.reversalPulse);
    EXPECT_EQ(slow.nextTrailStep, fast.nextTrailStep);
    EXPECT_EQ(slow.headAngle, 90) << "the reversal and the turn both happened";
    EXPECT_EQ(slow.food.x, fast.food.x);
    EXPECT_EQ(slow.food.y, fast.food.y);
    ASSERT_EQ(slow.snake.size(), fast.snake.size());
    for (std::size_t i = 0; i < slow.snake.size(); ++i) {
        EXPECT_EQ(slow.snake[i].x, fast.snake[i].x) << i;
        EXPECT_EQ(slow.snake[i].y, fast.snake[i].y) << i;
        EXPECT_EQ(slow.snake[i].dx, fast.snake[i].dx) << i;
        EXPECT_EQ(slow.snake[i].dy, fast.snake[i].dy) << i;
    }
}

TEST_F(Loops, AReversalRightAfterEatingPlaysOnAndThePulseHoldsEveryRule) {
    scripted().clockStep = 0.005;  // 0.01 s a frame
    // A 9 just left of the head, eaten in the first frame.
    scripted().randoms = {0.5, 0.5, 0.99};
    startGame(program);
    runPlayFrames(program, 2);
    ASSERT_EQ(upperIndex(program.play.snake), 10);

    // Left while most of the meal still waits off the board.
    holdFromNextPresent({scanLeft});
    runPlayFrames(program, 10);
    const PlayState& play = program.play;
    ASSERT_GT(play.reversalPulse, 0.0f) << "reversed";
    ASSERT_EQ(play.snake.back().x, -1000.0f) << "some segments still wait";
    EXPECT_GT(play.snake[0].x, 200.0f) << "the head is a segment from the board";
    EXPECT_GT(play.snake[0].y, 100.0f);

    // While the pulse runs nothing moves, eats or dies: food on the head,
    // the head on the stone row and a body segment on the head.
    program.play.snake[0].y = 5.0f;
    program.play.snake[2] = program.play.snake[0];
    program.play.food = {program.play.snake[0].x, 5.0f, 0.0f, 4};
    const Snake before = play.snake;
    const float pulseBefore = play.reversalPulse;
    holdFromNextPresent({});
    runPlayFrames(program, 5);
    ASSERT_EQ(play.snake.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(play.snake[i].x, before[i].x) << i;
        EXPECT_EQ(play.snake[i].y, before[i].y) << i;
    }
    EXPECT_EQ(play.food.value, 4);
    EXPECT_NEAR(play.reversalPulse - pulseBefore, 5 * 100 * 0.01, 1e-3);
}

TEST_F(Loops, ANewGamePlacesItsFoodAgainstTheNewSnakeNotTheLastGames) {
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

TEST_F(Loops, ATerminationSignalLeavesTheTitleOrTheGameAtTheNextFrameAsEscapeDoes) {
    scripted().terminationAtTime = scripted().now + 0.5;
    EXPECT_EQ(runSession(program), 0);
    EXPECT_EQ(scripted().presents, 1) << "the still title waits for events";
    EXPECT_LT(scripted().now, scripted().terminationAtTime + 0.06) << "seen within one wait";
    EXPECT_FALSE(program.play.gamePlayed);

    resetScriptedPlatform();
    consoleChannel = openConsole();
    scripted().keysAfterPresent = {{scanSpace}, {}};
    scripted().terminationAtPresent = 4;
    EXPECT_EQ(runSession(program), 0);
    EXPECT_EQ(scripted().presents, 4) << "one title frame, three play frames";
    EXPECT_TRUE(program.play.gamePlayed);
    EXPECT_TRUE(scripted().openChannels.empty()) << "the console is closed as after Escape";
}

TEST(StartUp, SeedsTheRandomSourceFromTheClock) {
    // Drawing needs a GL context, which the window-less tests lack: the
    // display fails to open and start-up ends there, after the seeding.
    auto firstFood = [](double clock) {
        resetScriptedPlatform();
        scripted().now = clock;
        scripted().displayOpens = false;
        Program program;
        EXPECT_THROW(startUp(program), ProgramEnded);
        startGame(program);
        return program.play.food;
    };
    const Food first = firstFood(1000.0);
    const Food again = firstFood(1000.0);
    const Food later = firstFood(2000.0);
    EXPECT_EQ(again.x, first.x);
    EXPECT_EQ(again.y, first.y);
    EXPECT_TRUE(later.x != first.x || later.y != first.y) << "the same first food at another time";
}

TEST_F(Loops, SpaceStillHeldAtGameOverStartsTheNextGameAfterOneTitleFrame) {
    scripted().clockStep = 0.004;
    scripted().keysAfterPresent = {{scanSpace, scanUp}};
    scripted().randoms = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    returnToTitle(program);
    ASSERT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    startGame(program);
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    const int presentsAtGameOver = scripted().presents;
    const double playTimeAtGameOver = program.play.playTime;

    returnToTitle(program);
    ASSERT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    EXPECT_EQ(scripted().presents, presentsAtGameOver + 1);

    startGame(program);
    EXPECT_EQ(upperIndex(program.play.snake), 1);
    EXPECT_EQ(program.play.snake[0].y, 128.0f);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    EXPECT_NEAR(program.play.playTime - playTimeAtGameOver, 1.1, 0.05) << "the second game runs like the first";
}

// Pause: P pressed at the last of playFrames play frames, one still frame,
// then pausedWaits waits of 50 ms and Escape tapped in the last; or, with
// resume, P tapped there and Escape seen after one more play frame. Each
// present takes 16 ms of the clock.
struct PauseRun {
    int playFrames = 30;
    int pausedWaits = 0;
    bool resume = false;
    bool holdPFromTheTitle = false;
};

PlayState runWithPause(const PauseRun& run) {
    resetScriptedPlatform();
    scripted().clockStep = 0.004;
    scripted().presentStep = 0.016;
    scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
    const std::set<int> p = run.holdPFromTheTitle ? std::set<int>{scanP} : std::set<int>{};
    if (run.holdPFromTheTitle) scripted().keysBeforeFirstPresent = {scanP};
    auto& keys = scripted().keysAfterPresent;
    keys.assign(static_cast<std::size_t>(run.playFrames) - 1, p);
    // Left while moving right: a reversal whose pulse is still running at the pause.
    for (int present = 20; present <= 22; ++present) keys[static_cast<std::size_t>(present) - 1].insert(scanLeft);
    if (run.pausedWaits > 0) {
        keys.push_back({scanP});
        keys.emplace_back();
        scripted().eventsInWait[run.pausedWaits].taps = {run.resume ? scanP : scanEscape};
    }
    keys.push_back({scanEscape});
    Program program;
    startGame(program);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
    return program.play;
}

void expectSamePlay(const PlayState& a, const PlayState& b) {
    ASSERT_EQ(a.snake.size(), b.snake.size());
    EXPECT_EQ(std::memcmp(a.snake.data(), b.snake.data(), a.snake.size() * sizeof(Segment)), 0);
    EXPECT_EQ(a.food.x, b.food.x);
    EXPECT_EQ(a.food.y, b.food.y);
    EXPECT_EQ(a.food.z, b.food.z);
    EXPECT_EQ(a.food.value, b.food.value);
    EXPECT_EQ(a.heading.x, b.heading.x);
    EXPECT_EQ(a.heading.y, b.heading.y);
    EXPECT_EQ(a.headAngle, b.headAngle);
    EXPECT_EQ(a.movingHorizontally, b.movingHorizontally);
    EXPECT_EQ(a.wiggle, b.wiggle);
    EXPECT_EQ(a.reversalPulse, b.reversalPulse);
    EXPECT_EQ(a.frameTime, b.frameTime);
    EXPECT_EQ(a.playTime, b.playTime);
    EXPECT_EQ(a.nextTrailStep, b.nextTrailStep);
    EXPECT_EQ(a.viewX, b.viewX);
    EXPECT_EQ(a.viewY, b.viewY);
    EXPECT_EQ(a.segmentRadius, b.segmentRadius);
}

TEST(Pause, AGamePausedForManyFramesIsLeftExactlyAsItWasAndEscapeStillQuits) {
    const PlayState unpaused = runWithPause({.playFrames = 30});
    ASSERT_GT(unpaused.reversalPulse, 0.0f) << "the reversal should still be running at the pause";
    const PlayState paused = runWithPause({.playFrames = 30, .pausedWaits = 100});
    EXPECT_EQ(scripted().presents, 31) << "one still frame";
    expectSamePlay(paused, unpaused);
}

TEST(Pause, ResumingLeavesThePausedTimeOutAndAPHeldFromTheTitleDoesNotPause) {
    const PlayState straight = runWithPause({.playFrames = 31});
    const PlayState atPause = runWithPause({.playFrames = 30});
    // 32 waits of 50 ms paused: 1.6 s that must not reach the rules.
    const PlayState resumed = runWithPause({.playFrames = 30, .pausedWaits = 33, .resume = true});
    EXPECT_EQ(scripted().presents, 32);
    EXPECT_GT(resumed.frameTime, 0.0);
    EXPECT_LE(resumed.frameTime, straight.frameTime);
    EXPECT_LE(resumed.playTime - atPause.playTime, straight.playTime - atPause.playTime);
    EXPECT_LE(std::fabs(resumed.snake[0].x - atPause.snake[0].x), std::fabs(straight.snake[0].x - atPause.snake[0].x));

    expectSamePlay(runWithPause({.playFrames = 30, .holdPFromTheTitle = true}), atPause);
}

TEST_F(Loops, AGameOverAboveTheBestKeepsItOneNotAboveKeepsNothingAndBothShowWhatIsKept) {
    scripted().clockStep = 0.004;
    scripted().keysAfterPresent = {{scanUp}};
    scripted().randoms = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    for (int game = 0; game < 2; ++game) {
        startGame(program);
        ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    }
    EXPECT_EQ(scripted().savedBestScores, std::vector<int>{1}) << "kept when beaten, not when only equalled";
    EXPECT_EQ(program.play.bestScore, 1);

    program.play.bestScore = 5;
    startGame(program);
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    EXPECT_EQ(scripted().savedBestScores.size(), 1u);
    EXPECT_EQ(program.play.bestScore, 5);

    // Another running game keeps 9 meanwhile: the title shows it whether or
    // not this game's score was above the best it knew.
    for (const int knownBest : {-1, 5}) {
        scripted().bestScore = 9;
        program.play.bestScore = knownBest;
        startGame(program);
        ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
        EXPECT_EQ(program.play.bestScore, 9) << knownBest;
    }
    EXPECT_EQ(scripted().savedBestScores, (std::vector<int>{1, 1}));
}

}  // namespace

namespace {

TEST(Taps, AOneFrameTapOfAnArrowTurnsTheSnakeAtAnyFrameRate) {
    // The arrows are read only when the head enters a new whole board pixel,
    // which at 300 frames a second is one frame in three. Each tap is pressed
    // and let go between two presents, at every phase of that reading.
    for (const int framesPerSecond : {60, 144, 240, 300}) {
        int turned = 0;
        const int taps = 20;
        for (int tapPresent = 10; tapPresent < 10 + taps; ++tapPresent) {
            resetScriptedPlatform();
            scripted().clockStep = 0.0;
            scripted().presentStep = 1.0 / framesPerSecond;
            scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
            scripted().tapsAtPresent[tapPresent] = {scanUp};
            scripted().keysAfterPresent.assign(static_cast<std::size_t>(tapPresent) + 20, {});
            scripted().keysAfterPresent.push_back({scanEscape});
            Program program;
            startGame(program);
            EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
            if (program.play.headAngle == 90 && program.play.heading.y == 2.0f) ++turned;
        }
        EXPECT_EQ(turned, taps) << framesPerSecond << " frames a second";
    }
}

// Play frames until present 10, where the window looks away; then, while
// paused, the window comes back (wait 1), looks away again (wait 2) and P is
// tapped (wait 3); Escape is held from present 14 on.
TEST(LookingAway, PausesAGameInPlayUntilThePlayerResumesAndLeavesTheTitleAlone) {
    const struct {
        WindowEvent away;
        WindowEvent back;
    } table[] = {
        {WindowEvent::focusLost, WindowEvent::focusGained},
        {WindowEvent::minimised, WindowEvent::exposed},
        {WindowEvent::hidden, WindowEvent::exposed},
    };
    for (const auto& row : table) {
        resetScriptedPlatform();
        scripted().clockStep = 0.004;
        scripted().randoms = {0.0, 0.0, 0.0};
        scripted().windowEventsAtPresent[10] = {row.away};
        scripted().eventsInWait[1].window = {row.back};
        scripted().eventsInWait[2].window = {row.away, row.back};
        scripted().eventsInWait[3].taps = {scanP};
        scripted().keysAfterPresent.assign(13, {});
        scripted().keysAfterPresent.push_back({scanEscape});
        Program program;
        startGame(program);
        EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
        EXPECT_EQ(scripted().waits, 3) << "paused until P, whatever the window did";
        EXPECT_GE(scripted().presents, 14);
        EXPECT_FALSE(scripted().screensaverAllowed) << "held off again in play";
    }

    // On the title: nothing happens but a new picture, and the game that
    // Space starts then plays on until Escape.
    resetScriptedPlatform();
    scripted().clockStep = 0.004;
    scripted().randoms = {0.0, 0.0, 0.0};
    scripted().eventsInWait[1].window = {WindowEvent::focusLost};
    scripted().eventsInWait[2].window = {WindowEvent::focusGained};
    scripted().eventsInWait[3].taps = {scanSpace};
    scripted().keysAfterPresent.assign(12, {});
    scripted().keysAfterPresent.push_back({scanEscape});
    Program program;
    returnToTitle(program);
    ASSERT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    EXPECT_EQ(scripted().presents, 3) << "the title drawn again for each change of focus";
    startGame(program);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
    EXPECT_EQ(scripted().presents, 13);
    EXPECT_EQ(scripted().waits, 3) << "the game never paused";
}

TEST(StateChanges, APressMadeForOneStateNeverActsInTheNext) {
    // Space tapped mid-game does not start the next game from the title.
    resetScriptedPlatform();
    scripted().clockStep = 0.004;
    scripted().randoms = {0.0, 0.0, 0.0};
    scripted().keysAfterPresent = {{scanUp}};
    scripted().tapsAtPresent[5] = {scanSpace};
    Program program;
    startGame(program);
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    scripted().keysAfterPresent.assign(static_cast<std::size_t>(scripted().presents) + 1, {});
    scripted().keysAfterPresent.push_back({scanEscape});
    returnToTitle(program);
    EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);

    // An arrow tapped on the title does not turn the next snake.
    resetScriptedPlatform();
    scripted().eventsInWait[1].taps = {scanDown};
    scripted().eventsInWait[2].taps = {scanSpace};
    scripted().keysAfterPresent = {{}, {}, {}, {}, {scanEscape}};
    returnToTitle(program);
    ASSERT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    startGame(program);
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::quit);
    EXPECT_EQ(program.play.headAngle, 0);

    // An arrow tapped while paused does not turn the snake after the pause.
    resetScriptedPlatform();
    scripted().clockStep = 0.005;  // a pixel of head travel a frame
    scripted().keysAfterPresent = {{}, {}, {scanP}, {}, {}, {}, {}, {}, {}, {}, {scanEscape}};
    scripted().eventsInWait[1].taps = {scanDown};
    scripted().eventsInWait[2].taps = {scanP};
    startGame(program);
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::quit);
    EXPECT_EQ(scripted().waits, 2);
    EXPECT_EQ(program.play.headAngle, 0);
}

}  // namespace
