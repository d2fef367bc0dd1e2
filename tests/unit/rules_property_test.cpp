// Long random play through the same steps as a play frame, and a count of the
// heap allocations an update makes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <random>
#include <set>

#include "platform/platform.h"
#include "rules/food_rules.h"
#include "rules/game_update.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"
#include "support/heap_counter.h"
#include "support/scripted_platform.h"


namespace {

bool finite(const Segment& s) {
    return std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.z) && std::isfinite(s.dx) &&
           std::isfinite(s.dy) && std::isfinite(s.dz) && std::isfinite(s.scale);
}

bool onTheSnake(const Food& food, const Snake& snake) {
    for (const Segment& s : snake)
        if (std::abs(std::floor(food.x) - std::floor(s.x)) <= 1.0f &&
            std::abs(std::floor(food.y) - std::floor(s.y)) <= 1.0f)
            return true;
    return false;
}

void startAGame(PlayState& play, double clock) {
    play.movingHorizontally = true;
    play.movingVertically = false;
    play.headAngle = 0;
    play.heading = {2.0f, 0.0f, 0.0f};
    resetSnake(play.snake);
    placeFood(play.food, foodOrigin(), foodExtent(play.boardWidth, play.boardHeight), play.snake);
    play.lastClock = clock;
}

TEST(RulesProperty, RandomKeysAndFrameTimesNeverBreakTheSnake) {
    resetScriptedPlatform();
    std::mt19937 generator(20240611);
    std::uniform_real_distribution<double> frameTimes(0.001, 0.05);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int arrows[] = {scanUp, scanDown, scanLeft, scanRight};

    PlayState play;
    double clock = 100.0;
    startAGame(play, clock);
    int games = 1, meals = 0, reversals = 0, longest = 0;
    for (int frame = 0; frame < 40000; ++frame) {
        // Keys change now and then, so some are held across several crossings.
        if (unit(generator) < 0.05) {
            std::set<int> held;
            for (int key : arrows)
                if (unit(generator) < 0.3) held.insert(key);
            scripted().keysBeforeFirstPresent = held;
        }
        clock += frameTimes(generator);
        play.frameTime = clock - play.lastClock;
        play.lastClock = clock;
        play.playTime += play.frameTime;
        play.wiggle = static_cast<float>(std::sin(20.0 * play.playTime) * 0.5);
        if (play.movingHorizontally) play.heading.y = play.wiggle;
        if (play.movingVertically) play.heading.x = play.wiggle;
        play.segmentRadius = 8.0f;

        if (play.reversalPulse == 0.0f) {
            const std::size_t lengthBefore = play.snake.size();
            const Food foodBefore = play.food;
            if (!runGameUpdate(play)) {
                ++games;
                startAGame(play, clock);
                continue;
            }
            const Segment& head = play.snake[0];
            ASSERT_GT(head.x, -16.0f) << "frame " << frame;
            ASSERT_LT(head.x, 528.0f) << "frame " << frame;
            ASSERT_GE(head.y, 18.0f) << "frame " << frame;
            ASSERT_LE(head.y, 238.0f) << "frame " << frame;
            for (const Segment& s : play.snake) ASSERT_TRUE(finite(s)) << "frame " << frame;
            ASSERT_TRUE(std::isfinite(play.heading.x) && std::isfinite(play.heading.y));
            if (play.snake.size() != lengthBefore) {
                ++meals;
                ASSERT_EQ(play.snake.size(), lengthBefore + static_cast<std::size_t>(foodBefore.value));
                ASSERT_FALSE(onTheSnake(play.food, play.snake)) << "frame " << frame;
            }
            if (play.reversalPulse != 0.0f) ++reversals;
        }
        ASSERT_GE(play.snake.size(), 2u);
        ASSERT_TRUE(std::isfinite(play.food.x) && std::isfinite(play.food.y));
        ASSERT_GE(play.food.value, 1);
        ASSERT_LE(play.food.value, 9);
        longest = std::max(longest, upperIndex(play.snake));

        advanceReversalPulse(play);
        ASSERT_TRUE(std::isfinite(play.reversalPulse));
        ASSERT_GE(play.reversalPulse, 0.0f);
        ASSERT_LE(play.reversalPulse, 50.0f);
    }
    // The run has to have reached the interesting cases to mean anything.
    EXPECT_GT(games, 10);
    EXPECT_GT(meals, 3);
    EXPECT_GT(reversals, 10);
    std::printf("random play: %d games, %d meals, %d reversals, longest score %d\n", games, meals, reversals, longest);
}

TEST(RulesAllocation, AnUpdateThatDoesNotGrowAllocatesNothing) {
    resetScriptedPlatform();
    PlayState play;
    play.snake.resize(1000);
    // A body off to the lower left, far from the head's row.
    for (std::size_t i = 1; i < play.snake.size(); ++i) {
        play.snake[i].x = static_cast<float>(i % 100) * 4.0f;
        const std::size_t row = i / 100;
        play.snake[i].y = 30.0f + static_cast<float>(row) * 4.0f;
    }
    play.snake[0].x = 100.0f;
    play.snake[0].y = 200.0f;
    play.food = {400.0f, 200.0f, 0.0f, 3};
    play.heading = {2.0f, 0.0f, 0.0f};
    play.frameTime = 0.05;  // 5 pixels per update, as far apart as the trail timer keeps segments
    play.playTime = 50.0;
    play.nextTrailStep = 0.0;
    scripted().keysBeforeFirstPresent = {scanRight};

    const std::size_t before = heapAllocations();
    for (int update = 0; update < 20; ++update) {
        play.playTime += 0.05;
        ASSERT_TRUE(runGameUpdate(play));
    }
    // A reversal, then a key that turns.
    scripted().keysBeforeFirstPresent = {scanLeft};
    play.lastPollPosition = {0.0f, 0.0f, 0.0f};
    ASSERT_TRUE(runGameUpdate(play));
    ASSERT_EQ(play.reversalPulse, 0.1f);
    EXPECT_EQ(heapAllocations() - before, 0u);

    // The counter does see the growth of an update that eats.
    play.reversalPulse = 0.0f;
    scripted().keysBeforeFirstPresent = {};
    play.snake.shrink_to_fit();
    play.food = {play.snake[0].x, play.snake[0].y, 0.0f, 3};
    const std::size_t beforeMeal = heapAllocations();
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(upperIndex(play.snake), 1002);
    EXPECT_GT(heapAllocations() - beforeMeal, 0u);
}

}  // namespace
