// Food placement and eating at limits the kept games never reach: the value's
// boundaries, the closest free place, a rectangle the snake covers, other
// board sizes, and a head exactly 16 away.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

#include "rules/food_rules.h"
#include "rules/game_update.h"
#include "state/play_state.h"
#include "support/scripted_platform.h"

namespace {

Segment at(float x, float y) {
    Segment s;
    s.x = x;
    s.y = y;
    return s;
}

class FoodPlacement : public ::testing::Test {
protected:
    void SetUp() override { resetScriptedPlatform(); }
    void queue(std::initializer_list<double> values) {
        for (double v : values) scripted().randoms.push_back(v);
    }
    Food food;
};

TEST_F(FoodPlacement, ValueIsNineOnlyFromEightNinthsOn) {
    const Snake snake{at(-1000.0f, -1000.0f), at(-1000.0f, -1000.0f)};
    struct Case {
        double r3;
        int value;
    };
    const Case cases[] = {
        {0.0, 1},       {std::nextafter(1.0 / 9.0, 0.0), 1}, {1.0 / 9.0, 2}, {std::nextafter(8.0 / 9.0, 0.0), 8},
        {8.0 / 9.0, 9}, {std::nextafter(1.0, 0.0), 9},
    };
    for (const Case& c : cases) {
        queue({0.5, 0.5, c.r3});
        placeFood(food, foodOrigin(), foodExtent(512, 256), snake);
        EXPECT_EQ(food.value, c.value) << "r3 = " << c.r3;
    }
}

TEST_F(FoodPlacement, APlaceIsTakenOnlyWhenBothWholePixelsAreWithinOne) {
    // Origin 0 and extent 1024 make every place below exact: x = r x 1024.
    const Vec3f origin{0.0f, 0.0f, 0.0f};
    const Vec3f extent{1024.0f, 1024.0f, 0.0f};
    const Snake snake{at(100.5f, 100.5f), at(-1.5f, 500.5f), at(-0.5f, 700.5f)};
    struct Case {
        float x, y;
        bool taken;
    };
    const Case cases[] = {
        {101.875f, 101.875f, true},
        {99.0f, 99.0f, true},
        {101.5f, 99.5f, true},
        {102.0f, 100.0f, false},
        {100.0f, 102.0f, false},
        {98.875f, 100.5f, false},
        {100.5f, 98.875f, false},
        {102.0f, 102.0f, false},
        // Left of x = 0 whole pixels round down: -1.5 lies in pixel -2, -0.5 in -1.
        {0.5f, 500.5f, false},
        {0.5f, 700.5f, true},
    };
    // Judged as a first attempt, and again after a run of rejected ones, when
    // placement has switched to its map of blocked pixels.
    for (int rejectedBefore : {0, 20}) {
        for (const Case& c : cases) {
            scripted().randoms.clear();
            for (int i = 0; i < rejectedBefore; ++i) queue({100.5 / 1024.0, 100.5 / 1024.0, 0.0});
            queue({c.x / 1024.0, c.y / 1024.0, 0.0, 0.875, 0.875, 0.5});
            placeFood(food, origin, extent, snake);
            if (c.taken) {
                EXPECT_EQ(food.x, 896.0f)
                    << "(" << c.x << ", " << c.y << ") should be drawn again after " << rejectedBefore;
                EXPECT_EQ(food.value, 5) << "a new attempt draws a new value";
            } else {
                EXPECT_EQ(food.x, c.x) << "(" << c.x << ", " << c.y << ") should be kept after " << rejectedBefore;
                EXPECT_EQ(food.y, c.y);
                EXPECT_EQ(food.value, 1);
            }
        }
    }
}

// A snake that leaves only the given whole pixels of [0, 20) x [0, 10) free:
// each other pixel gets a segment on it, or, next to a free pixel, one pixel
// further away from it.
Snake snakeLeavingFree(const std::vector<std::pair<int, int>>& free) {
    Snake snake;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            int cx = x, cy = y;
            bool isFree = false;
            for (auto [fx, fy] : free) {
                if (fx == x && fy == y) isFree = true;
                if (std::abs(fx - x) <= 1 && std::abs(fy - y) <= 1) {
                    cx = x + (x - fx);
                    cy = y + (y - fy);
                }
            }
            if (!isFree) snake.push_back(at(static_cast<float>(cx) + 0.5f, static_cast<float>(cy) + 0.5f));
        }
    }
    return snake;
}

// Every attempt but the last lands on the taken pixel (0, 0); the last draws
// (11, 3.5), which is taken too, and a 9. The food goes to the first free
// pixel, bottom row first, with the value drawn last; with none free, to the
// place drawn last.
TEST_F(FoodPlacement, AfterAMillionRejectionsTheFirstFreePixelBottomRowFirstIsTaken) {
    const struct {
        std::vector<std::pair<int, int>> free;
        Food food;
    } cases[] = {
        {{{15, 3}, {4, 7}}, {15.0f, 3.0f, 0.0f, 9}},
        {{{4, 7}}, {4.0f, 7.0f, 0.0f, 9}},
        {{}, {11.0f, 3.5f, 0.0f, 9}},
    };
    for (const auto& c : cases) {
        scripted().randoms.clear();
        for (int i = 0; i < foodPlacementAttempts - 1; ++i) queue({0.0, 0.0, 0.0});
        queue({0.55, 0.35, 0.95, 0.25, 0.25, 0.25});
        placeFood(food, {0.0f, 0.0f, 0.0f}, {20.0f, 10.0f, 0.0f}, snakeLeavingFree(c.free));
        EXPECT_EQ(scripted().randoms.size(), 3u) << "exactly a million attempts";
        EXPECT_EQ(food, c.food);
    }
}

TEST(FoodRectangle, IsWorkedOutInFloatsEvenForABoardOfNoSize) {
    EXPECT_EQ(foodExtent(0, 0), (Vec3f{-24.0f, -48.0f, 0.0f}));
}

class Eating : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        // An update without motion or trail step.
        play.frameTime = 0.0;
        play.nextTrailStep = 1.0e9;
        play.heading = {2.0f, 0.0f, 0.0f};
        play.snake = {at(100.0f, 100.0f), at(96.0f, 100.0f)};
        play.lastPollPosition = {100.5f, 100.5f, 0.0f};
    }
    PlayState play;
};

TEST_F(Eating, AHeadExactly16AwayEatsAndTheNewFoodUsesTheBoardSize) {
    play.boardWidth = 640;
    play.boardHeight = 480;
    play.food = {100.0f, std::nextafter(116.0f, 200.0f), 0.0f, 5};
    ASSERT_TRUE(runGameUpdate(play));
    EXPECT_EQ(upperIndex(play.snake), 1) << "just beyond 16";

    play.food = {116.0f, 100.0f, 0.0f, 5};
    scripted().randoms = {0.5, 0.5, 0.5};
    ASSERT_TRUE(runGameUpdate(play));
    ASSERT_EQ(upperIndex(play.snake), 6) << "the score rises by the value at once";
    // (640 - 24) x 0.5 and 24 + (480 - 48) x 0.5
    EXPECT_EQ(play.food, (Food{308.0f, 240.0f, 0.0f, 5}));
}

}  // namespace
