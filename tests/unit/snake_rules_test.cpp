// Snake rules driven through runGameUpdate with scripted keys and clock values.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "platform/platform.h"
#include "rules/food_rules.h"
#include "rules/game_update.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"
#include "support/scripted_platform.h"

namespace {

Segment at(float x, float y, float dx = 0.0f, float dy = 0.0f) {
    Segment s;
    s.x = x;
    s.y = y;
    s.dx = dx;
    s.dy = dy;
    return s;
}

class SnakeRules : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        // A frame with no motion and no trail step unless a test asks for one;
        // the food far away so nothing is eaten by accident.
        play.frameTime = 0.0;
        play.lastClock = 10.0;
        play.nextTrailStep = 1.0e9;
        play.segmentRadius = 8.0f;
        play.food.x = 2000.0f;
        play.food.y = 2000.0f;
        play.food.value = 1;
    }
    void holdKeys(std::initializer_list<int> keys) { scripted().keysBeforeFirstPresent = keys; }
    // Puts the head at (x, y) with the last poll in another whole pixel, so the
    // turn check of the next update goes on to the poll.
    void headAt(float x, float y) {
        play.snake[0].x = x;
        play.snake[0].y = y;
        play.lastPollPosition = {x + 5.0f, y + 5.0f, 0.0f};
    }
    PlayState play;
};

TEST(SnakeRecords, ResetGivesTwoCentredSegmentsWithEveryOtherFieldCleared) {
    Snake snake(5, at(3.0f, 4.0f, 2.0f, -2.0f));
    for (Segment& s : snake) s.scale = 0.75f;
    resetSnake(snake);
    ASSERT_EQ(upperIndex(snake), 1);
    for (const Segment& s : snake) {
        EXPECT_EQ(s.x, 256.0f);
        EXPECT_EQ(s.y, 128.0f);
        EXPECT_EQ(s.z, 0.0f);
        EXPECT_EQ(s.dx, 0.0f);
        EXPECT_EQ(s.dy, 0.0f);
        EXPECT_EQ(s.dz, 0.0f);
        EXPECT_EQ(s.scale, 0.0f);
    }
}

TEST(SnakeRecords, AppendKeepsTheBodyAndParksTheNewTailOffTheBoard) {
    Snake snake{at(10.0f, 20.0f, 2.0f, 0.5f), at(6.0f, 20.0f, 2.0f, 0.25f)};
    snake[1].scale = 0.5f;
    appendSegment(snake);
    ASSERT_EQ(upperIndex(snake), 2);
    EXPECT_EQ(snake[0].x, 10.0f);
    EXPECT_EQ(snake[1].dy, 0.25f);
    EXPECT_EQ(snake[1].scale, 0.5f);
    EXPECT_EQ(snake[2].x, -1000.0f);
    EXPECT_EQ(snake[2].y, -1000.0f);
    EXPECT_EQ(snake[2].dx, 0.0f);
    EXPECT_EQ(snake[2].dy, 0.0f);
    EXPECT_EQ(snake[2].scale, 0.0f);
}

TEST(SnakeRecords, ReversalTurnsTheOrderRoundAndHeadsAwayFromTheOldTail) {
    Snake snake{at(30.0f, 50.0f, 2.0f, 0.1f), at(26.0f, 50.0f, 2.0f, 0.2f), at(22.0f, 50.0f, 0.3f, 2.0f)};
    snake[2].scale = 0.5f;
    Vec3f heading{2.0f, 0.4f, 7.0f};
    reverseSnake(snake, heading);
    EXPECT_EQ(heading.x, -0.3f);
    EXPECT_EQ(heading.y, -2.0f);
    EXPECT_EQ(heading.z, 7.0f) << "z is not written";
    EXPECT_EQ(snake[0].x, 22.0f);
    EXPECT_EQ(snake[0].dy, 2.0f);
    EXPECT_EQ(snake[0].scale, 0.5f) << "all seven fields travel with the segment";
    EXPECT_EQ(snake[1].dy, 0.2f);
    EXPECT_EQ(snake[2].x, 30.0f);
}

TEST_F(SnakeRules, TurnsOnlyWhenTheHeadEntersANewWholePixel) {
    play.snake = {at(100.2f, 100.7f), at(100.0f, 100.0f)};
    holdKeys({scanUp});
    play.lastPollPosition = {100.9f, 100.1f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.heading.y, 0.0f) << "same whole pixel: the keys are not looked at";
    EXPECT_EQ(play.headAngle, 0);

    play.snake[0].y = 101.0f;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.heading.y, 2.0f) << "y reached a new whole pixel";
    EXPECT_EQ(play.headAngle, 90);
    EXPECT_EQ(play.lastPollPosition.y, 101.0f);
    EXPECT_TRUE(play.movingVertically);
    EXPECT_FALSE(play.movingHorizontally);
}

TEST_F(SnakeRules, WholePixelsOfNegativeXRoundDownwards) {
    // Just after a wrap the head can stand left of x = 0.
    play.snake = {at(-0.2f, 100.5f), at(0.0f, 100.0f)};
    holdKeys({scanDown});
    play.lastPollPosition = {-0.9f, 100.5f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.headAngle, 0) << "-0.2 and -0.9 lie in the same pixel, -1";

    play.lastPollPosition = {0.3f, 100.5f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.headAngle, 270) << "-0.2 and 0.3 lie in pixels -1 and 0";
    EXPECT_EQ(play.heading.y, -2.0f);
}

TEST_F(SnakeRules, HeldKeysApplyInTableOrderAndTheLastOneDecides) {
    play.snake = {at(100.0f, 100.0f), at(96.0f, 100.0f, 2.0f, 0.0f)};
    play.heading = {2.0f, 0.3f, 0.0f};
    headAt(100.0f, 100.0f);
    // Up turns first, so Left no longer opposes the motion: no reversal.
    holdKeys({scanLeft, scanUp});
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.heading.x, -2.0f);
    EXPECT_EQ(play.heading.y, 0.0f);
    EXPECT_EQ(play.headAngle, 180);
    EXPECT_TRUE(play.movingHorizontally);
    EXPECT_FALSE(play.movingVertically);
    EXPECT_EQ(play.reversalPulse, 0.0f);
    EXPECT_EQ(play.snake[1].x, 96.0f);

    // Moving up, Right turns first and then Left opposes it: a reversal.
    play.snake = {at(100.0f, 100.0f, 0.0f, 2.0f), at(100.0f, 96.0f, 0.1f, 2.0f)};
    play.heading = {0.3f, 2.0f, 0.0f};
    headAt(100.0f, 100.0f);
    holdKeys({scanRight, scanLeft});
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.reversalPulse, 0.1f);
    EXPECT_EQ(play.snake[0].y, 96.0f);
    EXPECT_EQ(play.heading.x, -0.1f);
    EXPECT_EQ(play.heading.y, -2.0f);
    EXPECT_EQ(play.headAngle, 180);
}

TEST_F(SnakeRules, KeyAlongTheMotionOnlyClearsTheSway) {
    play.snake = {at(100.0f, 100.0f), at(96.0f, 100.0f, 2.0f, 0.0f)};
    play.heading = {2.0f, 0.4f, 0.0f};
    headAt(100.0f, 100.0f);
    holdKeys({scanRight});
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.heading.x, 2.0f);
    EXPECT_EQ(play.heading.y, 0.0f);
    EXPECT_EQ(play.reversalPulse, 0.0f);
}

TEST_F(SnakeRules, UpAndDownWhileMovingDownReverseTwice) {
    // The old tail moves down too, so after the first reversal the heading
    // points up and Down reverses again.
    play.snake = {at(100.0f, 100.0f, 0.25f, -2.0f), at(100.0f, 105.0f, 0.0f, -2.0f), at(100.0f, 110.0f, 0.0f, -2.0f)};
    play.heading = {0.0f, -2.0f, 0.0f};
    headAt(100.0f, 100.0f);
    holdKeys({scanUp, scanDown});
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].y, 100.0f) << "two reversals restore the order";
    EXPECT_EQ(play.snake[2].y, 110.0f);
    EXPECT_EQ(play.heading.x, -0.25f) << "the second reversal heads away from the old head";
    EXPECT_EQ(play.heading.y, 2.0f);
    EXPECT_EQ(play.headAngle, 270);
    EXPECT_EQ(play.reversalPulse, 0.1f);
}

TEST_F(SnakeRules, ReversalFreezesAndTheRestOfTheUpdateRunsWithTheNewOrder) {
    play.snake = {at(100.0f, 100.0f, 2.0f, 0.0f), at(95.0f, 100.0f, 2.0f, 0.0f), at(90.0f, 100.0f, 2.0f, 0.5f)};
    play.heading = {2.0f, 0.0f, 0.0f};
    headAt(100.0f, 100.0f);
    play.frameTime = 0.1;
    holdKeys({scanLeft});
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.reversalPulse, 0.1f);
    EXPECT_EQ(play.headAngle, 180);
    // The old tail leads now, moving by (-2, -0.5) x 0.1 s x 50.
    EXPECT_FLOAT_EQ(play.snake[0].x, 80.0f);
    EXPECT_FLOAT_EQ(play.snake[0].y, 97.5f);
    EXPECT_EQ(play.snake[0].dx, -2.0f);
    EXPECT_EQ(play.snake[0].dy, -0.5f);
    EXPECT_EQ(play.snake[2].x, 100.0f);
}

TEST_F(SnakeRules, ReversingRightAfterEatingTurnsOnlyThePartOnTheBoard) {
    play.snake = {at(100.0f, 100.0f, 2.0f, 0.0f), at(95.0f, 100.0f, 2.0f, 0.5f)};
    play.heading = {2.0f, 0.0f, 0.0f};
    play.lastPollPosition = {100.5f, 100.5f, 0.0f};
    play.food = {110.0f, 100.0f, 0.0f, 3};
    scripted().randoms = {0.5, 0.5, 0.0};
    ASSERT_TRUE(runGameUpdate(play));
    ASSERT_EQ(upperIndex(play.snake), 4) << "ate a 3";
    EXPECT_EQ(play.snake[4].x, -1000.0f);

    play.snake[0].x = 101.0f;
    holdKeys({scanLeft});
    ASSERT_TRUE(runGameUpdate(play)) << "none of the waiting segments became the head";
    EXPECT_EQ(play.reversalPulse, 0.1f);
    EXPECT_EQ(play.snake[0].x, 95.0f);
    EXPECT_EQ(play.snake[1].x, 101.0f);
    // Back along the last segment on the board, which leads now.
    EXPECT_EQ(play.heading.x, -2.0f);
    EXPECT_EQ(play.heading.y, -0.5f);
    for (int i = 2; i <= 4; ++i) {
        EXPECT_EQ(play.snake[i].x, -1000.0f) << i;
        EXPECT_EQ(play.snake[i].y, -1000.0f) << i;
    }

    // They join behind the new order as before, one per trail step.
    holdKeys({});
    play.playTime = 5.0;
    play.nextTrailStep = 0.0;
    play.lastPollPosition = {0.0f, 0.0f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[2].x, 101.0f);
    EXPECT_EQ(play.snake[3].x, -1000.0f);
    EXPECT_EQ(upperIndex(play.snake), 4);
}

TEST_F(SnakeRules, TrailStepWaitsForItsTimerAndForAPixelCrossing) {
    play.snake = {at(50.0f, 60.0f, 2.0f, 0.1f), at(46.0f, 60.0f, 2.0f, 0.2f), at(42.0f, 60.0f, 2.0f, 0.3f)};
    // Motion writes this heading into the head before the step copies it.
    play.heading = {2.0f, 0.7f, 0.0f};
    play.nextTrailStep = 10.0;
    play.playTime = 10.0;
    // The wall clock far ahead (a stall) does not matter: the timer runs on play time.
    play.lastClock = 500.0;
    headAt(50.0f, 60.0f);
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[1].x, 46.0f) << "a play time equal to the timer does not step";
    EXPECT_EQ(play.nextTrailStep, 10.0);

    play.playTime = 10.001;
    play.lastPollPosition = {50.5f, 60.5f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[1].x, 46.0f) << "no pixel crossing, no trail step";

    headAt(50.0f, 60.0f);
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.nextTrailStep, 10.001 + 0.045);
    EXPECT_EQ(play.snake[0].x, 50.0f) << "the head keeps its place";
    EXPECT_EQ(play.snake[1].x, 50.0f);
    EXPECT_EQ(play.snake[1].dy, 0.7f);
    EXPECT_EQ(play.snake[2].x, 46.0f);
    EXPECT_EQ(play.snake[2].dy, 0.2f) << "element 2 took element 1's fields, not the head's";
}

TEST_F(SnakeRules, TaperRunsFromNearlyFullSizeDownToHalf) {
    play.snake = {at(50.0f, 60.0f), at(46.0f, 60.0f), at(42.0f, 60.0f), at(38.0f, 60.0f), at(34.0f, 60.0f)};
    play.snake[0].scale = 3.0f;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].scale, 3.0f) << "the head's scale is never touched";
    EXPECT_EQ(play.snake[1].scale, 0.875f);
    EXPECT_EQ(play.snake[2].scale, 0.75f);
    EXPECT_EQ(play.snake[3].scale, 0.625f);
    EXPECT_EQ(play.snake[4].scale, 0.5f);

    play.snake.resize(4);
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[1].scale, static_cast<float>(1.0 - (1.0 / 3.0) * 0.5));
}

TEST_F(SnakeRules, MotionScalesWithFrameTimeAndRecordsTheHeading) {
    play.snake = {at(100.0f, 100.0f), at(96.0f, 100.0f)};
    play.heading = {2.0f, 0.5f, 0.0f};
    play.lastPollPosition = {100.5f, 100.5f, 0.0f};
    play.frameTime = 0.1;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].x, 110.0f);
    EXPECT_EQ(play.snake[0].y, 102.5f);
    EXPECT_EQ(play.snake[0].dx, 2.0f);
    EXPECT_EQ(play.snake[0].dy, 0.5f);
}

TEST_F(SnakeRules, TheStoneRowsKillOnlyBeyond18And238) {
    play.snake = {at(100.0f, 18.0f), at(100.0f, 30.0f)};
    EXPECT_TRUE(runGameUpdate(play));
    play.snake[0].y = std::nextafter(18.0f, 0.0f);
    EXPECT_FALSE(runGameUpdate(play));
    play.snake[0].y = 238.0f;
    EXPECT_TRUE(runGameUpdate(play));
    play.snake[0].y = std::nextafter(238.0f, 300.0f);
    EXPECT_FALSE(runGameUpdate(play));

    // The top row follows the board height.
    play.boardHeight = 300;
    play.snake[0].y = 282.0f;
    EXPECT_TRUE(runGameUpdate(play));
    play.snake[0].y = 282.5f;
    EXPECT_FALSE(runGameUpdate(play));
}

TEST_F(SnakeRules, TheHeadWrapsAtMinus16AndAt528) {
    play.snake = {at(-16.0f, 100.0f), at(0.0f, 100.0f)};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].x, 496.0f);
    EXPECT_EQ(play.snake[1].x, 0.0f) << "only the head wraps";

    play.snake[0].x = -15.5f;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].x, -15.5f);

    play.snake[0].x = 528.0f;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].x, 16.0f);

    play.snake[0].x = 527.5f;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].x, 527.5f);

    play.boardWidth = 640;
    play.snake[0].x = -20.0f;
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(play.snake[0].x, 620.0f);
}

TEST_F(SnakeRules, SelfCollisionNeedsASquaredDistanceBelowEight) {
    // Squared distances 4 + 3.9601 and exactly 4 + 4.
    play.snake = {at(100.0f, 100.0f), at(150.0f, 150.0f), at(102.0f, 101.99f)};
    EXPECT_FALSE(runGameUpdate(play));
    play.snake[0] = at(100.0f, 100.0f);
    play.snake[2] = at(102.0f, 102.0f);
    EXPECT_TRUE(runGameUpdate(play));
    play.snake[2] = at(98.0f, std::nextafter(98.0f, 100.0f));
    EXPECT_FALSE(runGameUpdate(play));
}

TEST_F(SnakeRules, OnlyElementsFromTwoToTheTailEndCanBeHit) {
    play.snake = {at(100.0f, 100.0f), at(100.0f, 100.0f)};
    EXPECT_TRUE(runGameUpdate(play)) << "two segments on one spot, as after a reset";

    play.snake = {at(100.0f, 100.0f), at(100.0f, 100.0f), at(100.0f, 110.0f), at(100.5f, 100.0f)};
    EXPECT_FALSE(runGameUpdate(play)) << "the tail end is tested too";
}

TEST_F(SnakeRules, HittingTheBodyAndReachingTheFoodDiesWithoutEating) {
    play.snake = {at(100.0f, 100.0f), at(120.0f, 100.0f), at(101.0f, 100.0f)};
    play.food = {105.0f, 100.0f, 0.0f, 4};
    EXPECT_FALSE(runGameUpdate(play));
    EXPECT_EQ(upperIndex(play.snake), 2);
    EXPECT_EQ(play.food.x, 105.0f);
    EXPECT_EQ(play.food.value, 4);
}

TEST(ReversalPulse, GrowsWithFrameTimeAndRunsOutAboveFifty) {
    PlayState play;
    play.frameTime = 0.01;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, 0.0f) << "an idle pulse stays idle";

    play.reversalPulse = 0.1f;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, static_cast<float>(0.1f + 100.0 * 0.01));

    play.reversalPulse = 40.0f;
    play.frameTime = 0.1;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, 50.0f) << "exactly 50 is kept";

    play.frameTime = 0.003;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, 0.0f) << "50.3 runs out";

    play.reversalPulse = -1.0f;
    advanceReversalPulse(play);
    EXPECT_EQ(play.reversalPulse, -1.0f);
}

}  // namespace
