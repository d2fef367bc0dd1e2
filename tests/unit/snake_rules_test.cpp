// The snake's rules where the kept games never take them: the edges of the
// board and the timers, the wiggle's sine, and the stand-still of a reversal.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "rules/frame_rules.h"
#include "rules/game_update.h"
#include "rules/portable_sine.h"
#include "rules/recorded_input.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"
#include "support/scripted_platform.h"

// The snake's rules at limits the kept games never reach: the exact edges of
// the stone rows and of the wrap, the closest a body may come to the head,
// several arrows in one poll, and timers that run out exactly.
namespace {

Segment at(float x, float y, float dx = 0.0f, float dy = 0.0f) {
    Segment s;
    s.x = x;
    s.y = y;
    s.dx = dx;
    s.dy = dy;
    return s;
}

std::vector<std::pair<float, float>> places(const Snake& snake) {
    std::vector<std::pair<float, float>> result;
    for (const Segment& s : snake) result.emplace_back(s.x, s.y);
    return result;
}

// Exactly these arrows held at the next poll, with no press pending.
void holdKeys(const std::vector<int>& keys) {
    for (int key : {scanUp, scanDown, scanLeft, scanRight}) scriptAt(scriptTime(), Happening::keyUp, key);
    for (int key : keys) scriptAt(scriptTime(), Happening::keyDown, key);
    present();
    dropPendingPresses();
}

class SnakeRules : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        // An update without motion or trail step unless a case asks for one,
        // the food far away.
        play.frameTime = 0.0;
        play.nextTrailStep = 1.0e9;
        play.food = {2000.0f, 2000.0f, 0.0f, 1};
    }
    PlayState play;
};

TEST_F(SnakeRules, TheStoneRowsKillOnlyBeyond18AndTheirHeightLess18) {
    const struct {
        std::uint32_t boardHeight;
        float headY;
        bool alive;
    } cases[] = {
        {256, 18.0f, true},  {256, std::nextafter(18.0f, 0.0f), false},
        {256, 238.0f, true}, {256, std::nextafter(238.0f, 300.0f), false},
        {300, 282.0f, true}, {300, 282.5f, false},
    };
    for (const auto& c : cases) {
        play.boardHeight = c.boardHeight;
        play.snake = {at(100.0f, c.headY), at(100.0f, 30.0f)};
        EXPECT_EQ(runGameUpdate(play), c.alive) << "head at y = " << c.headY << " on a board " << c.boardHeight;
    }
}

TEST_F(SnakeRules, TheHeadWrapsFromMinus16AndFromTheWidthPlus16) {
    const struct {
        std::uint32_t boardWidth;
        float headX, wrappedX;
    } cases[] = {
        {512, -16.0f, 496.0f}, {512, -15.5f, -15.5f}, {512, 528.0f, 16.0f},
        {512, 527.5f, 527.5f}, {640, -20.0f, 620.0f}, {640, 656.0f, 16.0f},
    };
    for (const auto& c : cases) {
        play.boardWidth = c.boardWidth;
        play.snake = {at(c.headX, 100.0f), at(0.0f, 100.0f)};
        ASSERT_TRUE(runGameUpdate(play));
        EXPECT_EQ(play.snake[0].x, c.wrappedX) << "head at x = " << c.headX << " on a board " << c.boardWidth;
    }
}

// The head at (100, 100); squared distances below 8 hit, from element 2 to
// the tail end. A hit ends the update before the food is tested.
TEST_F(SnakeRules, ABodySegmentHitsOnlyFromElementTwoAndBelowASquaredDistanceOfEight) {
    const Food farFood = play.food;
    const struct {
        const char* what;
        Snake body;  // from element 1
        Food food;
        bool alive;
    } cases[] = {
        {"4 + 3.9601", {at(150.0f, 150.0f), at(102.0f, 101.99f)}, farFood, false},
        {"exactly 4 + 4", {at(150.0f, 150.0f), at(102.0f, 102.0f)}, farFood, true},
        {"just below 8 to the lower left",
         {at(150.0f, 150.0f), at(98.0f, std::nextafter(98.0f, 100.0f))},
         farFood,
         false},
        {"element 1 on the head, as after a reset", {at(100.0f, 100.0f)}, farFood, true},
        {"the tail end", {at(100.0f, 100.0f), at(100.0f, 110.0f), at(100.5f, 100.0f)}, farFood, false},
        {"with the food in reach", {at(120.0f, 100.0f), at(101.0f, 100.0f)}, {105.0f, 100.0f, 0.0f, 4}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        play.snake = {at(100.0f, 100.0f)};
        play.snake.insert(play.snake.end(), c.body.begin(), c.body.end());
        play.food = c.food;
        EXPECT_EQ(runGameUpdate(play), c.alive);
        EXPECT_EQ(play.snake.size(), c.body.size() + 1) << "nothing eaten";
        EXPECT_EQ(play.food, c.food);
    }
}

// The poll tests Up, Down, Right and Left in turn, each against the heading
// the keys before it left, so one poll can turn and then reverse, or reverse twice.
TEST_F(SnakeRules, SeveralArrowsInOnePollActInTurn) {
    const struct {
        const char* what;
        Snake snake;
        Vec3f heading;
        std::vector<int> keys;
        Vec3f headingAfter;
        int angle;
        bool reversed;
        bool vertical;
        std::vector<std::pair<float, float>> placesAfter;
    } cases[] = {
        {"moving right, Up turns before Left, which then only turns",
         {at(100.0f, 100.0f), at(96.0f, 100.0f, 2.0f, 0.0f)},
         {2.0f, 0.3f, 0.0f},
         {scanLeft, scanUp},
         {-2.0f, 0.0f, 0.0f},
         180,
         false,
         false,
         {{100.0f, 100.0f}, {96.0f, 100.0f}}},
        {"moving up, Right turns before Left, which then reverses",
         {at(100.0f, 100.0f, 0.0f, 2.0f), at(100.0f, 96.0f, 0.1f, 2.0f)},
         {0.3f, 2.0f, 0.0f},
         {scanRight, scanLeft},
         {-0.1f, -2.0f, 0.0f},
         180,
         true,
         false,
         {{100.0f, 96.0f}, {100.0f, 100.0f}}},
        {"moving down, Up reverses and Down reverses back, away from the old head",
         {at(100.0f, 100.0f, 0.25f, -2.0f), at(100.0f, 105.0f, 0.0f, -2.0f), at(100.0f, 110.0f, 0.0f, -2.0f)},
         {0.0f, -2.0f, 0.0f},
         {scanUp, scanDown},
         {-0.25f, 2.0f, 0.0f},
         270,
         true,
         true,
         {{100.0f, 100.0f}, {100.0f, 105.0f}, {100.0f, 110.0f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        play.snake = c.snake;
        play.heading = c.heading;
        play.reversalPulse = 0.0f;
        play.lastPollPosition = {c.snake[0].x + 5.0f, c.snake[0].y + 5.0f, 0.0f};
        holdKeys(c.keys);
        ASSERT_TRUE(runGameUpdate(play));
        EXPECT_EQ(play.heading, c.headingAfter);
        EXPECT_EQ(play.headAngle, c.angle);
        EXPECT_EQ(play.reversalPulse != 0.0f, c.reversed);
        EXPECT_EQ(play.movingVertically, c.vertical);
        EXPECT_EQ(play.movingHorizontally, !c.vertical);
        EXPECT_EQ(places(play.snake), c.placesAfter);
    }
}

TEST_F(SnakeRules, ATrailTimerThatRunsOutExactlyNowStepsOnlyLater) {
    play.snake = {at(50.0f, 60.0f), at(46.0f, 60.0f), at(42.0f, 60.0f)};
    play.nextTrailStep = 10.0;
    play.playTime = 10.0;
    play.lastPollPosition = {55.0f, 65.0f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(places(play.snake), places({at(50.0f, 60.0f), at(46.0f, 60.0f), at(42.0f, 60.0f)}));
    EXPECT_EQ(play.nextTrailStep, 10.0);
}

TEST(ReversalPulse, ReachingExactlyItsEndItRunsOneFrameMore) {
    PlayState play;
    play.reversalPulse = 40.0f;
    play.frameTime = 0.1;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, reversalPulseEnd);
    play.frameTime = 0.003;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, 0.0f);
}

}  // namespace

// The wiggle's sine where the kept games never take it: every quadrant, both
// signs, and arguments up to the 10^6 of a 14-hour session, against the C
// library's sin.
namespace portable_sine {

namespace {

TEST(PortableSine, KeepsWithinFourUnitsInTheLastPlaceOfTheLibrarySine) {
    // Away from the zeros, where a last place is too fine to ask for.
    for (const double x : {1e-9, 0.3, -0.3, 0.78, 0.8, 1.5, 2.5, 3.9, 4.5, -5.5, 6.0, 100.25, -2048.75, 36000.123,
                           271828.5, 817314.10911094968, -999999.5}) {
        SCOPED_TRACE(x);
        const double want = std::sin(x);
        const double unit = std::nextafter(std::fabs(want), 2.0) - std::fabs(want);
        EXPECT_LE(std::fabs(portableSine(x) - want), 4.0 * unit);
    }
}

}  // namespace

}  // namespace portable_sine

// While a reversal's pulse runs the snake stands still: nothing is eaten and
// nothing dies, whatever lies under the head.
namespace reversal_freeze {

namespace {

TEST(ReversalFreeze, NothingMovesEatsOrDiesWhileThePulseRuns) {
    const struct {
        const char* what;
        float headY;
        bool foodOnHead;
        bool bodyOnHead;
    } table[] = {
        {"food under the head", 128.0f, true, false},
        {"the head on the bottom stone row", 5.0f, false, false},
        {"a body segment under the head", 128.0f, false, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        resetScriptedPlatform();
        PlayState play;
        for (int i = 0; i < 4; ++i) {
            Segment s;
            s.x = 200.0f + 5.0f * static_cast<float>(i);
            s.y = row.headY;
            s.dx = -2.0f;
            s.scale = 1.0f;
            play.snake.push_back(s);
        }
        play.heading = {-2.0f, 0.0f, 0.0f};
        play.food = {400.0f, 200.0f, 0.0f, 4};
        if (row.foodOnHead) play.food = {play.snake[0].x, play.snake[0].y, 0.0f, 4};
        if (row.bodyOnHead) play.snake[2] = play.snake[0];
        beginRecording(play);
        play.reversalPulse = 10.0f;
        play.frameTime = 0.02;
        play.playTime = 1.0;
        const PlayState before = play;

        ASSERT_TRUE(advancePlayFrame(play));
        EXPECT_EQ(play.snake, before.snake);
        EXPECT_EQ(play.food, before.food);
        EXPECT_GT(play.reversalPulse, before.reversalPulse) << "the pulse runs on";
    }
}

}  // namespace

}  // namespace reversal_freeze
