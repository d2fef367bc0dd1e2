// Long random play through the game's own start and frame routines, with keys
// and frame costs from a timed script, and a count of the heap allocations a
// frame's rules make.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "rules/food_rules.h"
#include "rules/frame_rules.h"
#include "rules/recorded_input.h"
#include "rules/recording_check.h"
#include "state/play_state.h"
#include "support/heap_counter.h"
#include "support/scripted_platform.h"

namespace {

constexpr int arrows[] = {scanUp, scanDown, scanLeft, scanRight};

bool finite(const Segment& s) {
    return std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.z) && std::isfinite(s.dx) &&
           std::isfinite(s.dy) && std::isfinite(s.dz) && std::isfinite(s.scale);
}

bool waiting(const Segment& s) { return s.x == -1000.0f && s.y == -1000.0f; }

bool onTheSnake(const Food& food, const Snake& snake) {
    return std::any_of(snake.begin(), snake.end(), [&](const Segment& s) {
        return std::abs(std::floor(food.x) - std::floor(s.x)) <= 1.0f &&
               std::abs(std::floor(food.y) - std::floor(s.y)) <= 1.0f;
    });
}

int eventsOf(const GameEvents& events, GameEventKind kind, int* value = nullptr) {
    int count = 0;
    for (int i = 0; i < events.count; ++i)
        if (events.list[static_cast<std::size_t>(i)].kind == kind) {
            ++count;
            if (value != nullptr) *value = events.list[static_cast<std::size_t>(i)].value;
        }
    return count;
}

// Changes the held arrows now and then, a few tapped between, always a little
// ahead of the clock so the script stays short. Often it steers for the food,
// so that snakes grow long and turn round with segments still waiting.
class RandomKeys {
public:
    explicit RandomKeys(std::mt19937& generator) : generator(generator) {}
    void scriptAhead(const PlayState& play) {
        if (scriptTime() < nextChange) return;
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        nextChange = scriptTime() + std::exponential_distribution<double>(3.0)(generator);
        const float dx = play.food.x - play.snake[0].x;
        const float dy = play.food.y - play.snake[0].y;
        const int towardFood = std::abs(dx) > std::abs(dy) ? (dx > 0.0f ? scanRight : scanLeft)
                                                           : (dy > 0.0f ? scanUp : scanDown);
        const bool steer = unit(generator) < 0.8;
        for (std::size_t k = 0; k < std::size(arrows); ++k) {
            const bool hold = steer ? arrows[k] == towardFood : unit(generator) < 0.25;
            const bool tap = !hold && unit(generator) < 0.05;
            if (held[k] != hold) scriptAt(nextChange, hold ? Happening::keyDown : Happening::keyUp, arrows[k]);
            if (tap) scriptTap(nextChange, arrows[k]);
            held[k] = hold;
        }
    }

private:
    std::mt19937& generator;
    double nextChange = 0.0;
    bool held[std::size(arrows)] = {};
};

TEST(RulesProperty, RandomKeysAndFrameCostsNeverBreakTheSnakeAndEveryGameReplays) {
    resetScriptedPlatform();
    std::mt19937 generator(20240611);
    // Some frames cost more than the cap of a twentieth of a second.
    std::uniform_real_distribution<double> frameCosts(0.001, 0.07);
    RandomKeys keys(generator);
    const auto program = std::make_unique<Program>();
    PlayState& play = program->play;
    const Vec3f origin = foodOrigin();
    const Vec3f extent = foodExtent(play.boardWidth, play.boardHeight);

    startGame(*program);
    ASSERT_EQ(upperIndex(play.snake), 1);
    int games = 1, meals = 0, reversals = 0, longest = 0, capped = 0;
    for (int frame = 0; frame < 100000; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        // What the play loop does before drawing.
        const double now = readClock();
        play.frameTime = std::min(now - play.lastClock, longestFrameTime);
        play.lastClock = now;
        noteFrameTime(play.input, play.frameTime);
        play.playTime += play.frameTime;
        capped += play.frameTime == longestFrameTime;
        play.events.count = 0;
        const std::size_t lengthBefore = play.snake.size();
        const Food foodBefore = play.food;
        const bool alive = advancePlayFrame(play);

        ASSERT_GE(play.snake.size(), 2u);
        for (const Segment& s : play.snake) ASSERT_TRUE(finite(s));
        ASSERT_TRUE(std::isfinite(play.heading.x) && std::isfinite(play.heading.y));
        ASSERT_TRUE(std::isfinite(play.reversalPulse));
        ASSERT_GE(play.reversalPulse, 0.0f);
        ASSERT_LE(play.reversalPulse, reversalPulseEnd);
        reversals += eventsOf(play.events, GameEventKind::reversal);
        if (!alive) {
            std::string problem;
            EXPECT_TRUE(checkRecording(play.input.recording, problem)) << "game " << games << ": " << problem;
            ++games;
            // The title sets the motion flags; game start leaves them.
            play.movingHorizontally = true;
            play.movingVertically = false;
            startGame(*program);
            ASSERT_EQ(upperIndex(play.snake), 1) << "a game starts at score 1";
        } else {
            // Every segment on the board lies between the stone rows and within
            // a wrap of the sides; those still waiting after a meal form the tail end.
            const auto firstWaiting = std::find_if(play.snake.begin(), play.snake.end(), waiting);
            ASSERT_TRUE(std::all_of(firstWaiting, play.snake.end(), waiting));
            for (auto s = play.snake.begin(); s != firstWaiting; ++s) {
                ASSERT_GT(s->x, -16.0f);
                ASSERT_LT(s->x, 528.0f);
                ASSERT_GE(s->y, 18.0f);
                ASSERT_LE(s->y, 238.0f);
            }
            int eaten = 0;
            if (eventsOf(play.events, GameEventKind::eat, &eaten) > 0) {
                ++meals;
                ASSERT_EQ(eaten, foodBefore.value);
                ASSERT_EQ(play.snake.size(), lengthBefore + static_cast<std::size_t>(eaten));
                ASSERT_FALSE(onTheSnake(play.food, play.snake));
            } else {
                ASSERT_EQ(play.snake.size(), lengthBefore);
            }
        }
        ASSERT_GE(play.food.x, origin.x);
        ASSERT_LE(play.food.x, origin.x + extent.x);
        ASSERT_GE(play.food.y, origin.y);
        ASSERT_LE(play.food.y, origin.y + extent.y);
        ASSERT_GE(play.food.value, 1);
        ASSERT_LE(play.food.value, 9);
        longest = std::max(longest, upperIndex(play.snake));

        keys.scriptAhead(play);
        scripted().presentSeconds = frameCosts(generator);
        present();
    }
    // The run has to have reached the interesting cases to mean anything.
    EXPECT_GT(games, 10);
    EXPECT_GT(meals, 3);
    EXPECT_GT(reversals, 10);
    EXPECT_GT(capped, 100);
    std::printf("random play: %d games, %d meals, %d reversals, longest score %d\n", games, meals, reversals, longest);
}

// Holds exactly these arrows from the next look at the keys on.
void holdArrows(std::initializer_list<int> keys) {
    for (int key : arrows) scriptAt(scriptTime(), Happening::keyUp, key);
    for (int key : keys) scriptAt(scriptTime(), Happening::keyDown, key);
    present();
    dropPendingPresses();
}

TEST(RulesAllocation, AFrameThatDoesNotGrowAllocatesNothing) {
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
    play.frameTime = 0.05;  // 5 pixels per update, as far apart as the trail timer keeps segments
    play.playTime = 50.0;
    holdArrows({scanRight});

    std::size_t allocations = 0;
    auto frame = [&] {
        play.playTime += play.frameTime;
        const std::size_t before = heapAllocations();
        const bool alive = advancePlayFrame(play);
        allocations += heapAllocations() - before;
        return alive;
    };
    for (int n = 0; n < 20; ++n) ASSERT_TRUE(frame());
    // A reversal, then a key that turns.
    holdArrows({scanLeft});
    play.events.count = 0;
    ASSERT_TRUE(frame());
    ASSERT_EQ(eventsOf(play.events, GameEventKind::reversal), 1);
    holdArrows({scanUp});
    play.reversalPulse = 0.0f;
    ASSERT_TRUE(frame());
    ASSERT_EQ(play.headAngle, 90);
    EXPECT_EQ(allocations, 0u);

    // The counter does see the growth of a frame that eats.
    play.snake.shrink_to_fit();
    play.food = {play.snake[0].x, play.snake[0].y, 0.0f, 3};
    allocations = 0;
    ASSERT_TRUE(frame());
    EXPECT_EQ(upperIndex(play.snake), 1002);
    EXPECT_GT(allocations, 0u);
}

}  // namespace
