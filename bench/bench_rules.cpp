// Cost of one game update and of one food placement for long snakes.
//
//   bench_rules [--benchmark_filter=...]
//
// The update benchmark makes every iteration a full one: the head stands on a
// new whole pixel and the play time has passed the trail timer, so the key poll and
// the trail step run each time, followed by taper, motion, both tests and the
// food test. The "allocs" counter is heap allocations per iteration.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "game/food.h"
#include "game/game_update.h"
#include "game/play_state.h"
#include "game/snake.h"
#include "support/heap_counter.h"
#include "support/scripted_platform.h"

namespace {

struct Place {
    float x, y;
};

// Rows 3 pixels apart between the stone rows, 3 pixels between places in a
// row: 12 312 places, more than the longest snake here, so the head never meets
// the trail it leaves along them.
std::vector<Place> makePath() {
    std::vector<Place> path;
    for (int row = 0; row < 72; ++row)
        for (int column = 0; column < 171; ++column)
            path.push_back({static_cast<float>(column * 3) + 0.5f, 20.5f + static_cast<float>(row * 3)});
    return path;
}

// A snake of `length` segments whose body lies on the places the head has
// just left, the head at path[length].
void layOutSnake(Snake& snake, std::size_t length, const std::vector<Place>& path) {
    snake.assign(length, Segment{});
    for (std::size_t k = 0; k < length; ++k) {
        const Place& place = path[(length - k) % path.size()];
        snake[k].x = place.x;
        snake[k].y = place.y;
        snake[k].dx = 2.0f;
    }
}

void BM_gameUpdate(benchmark::State& state) {
    resetScriptedPlatform();
    const std::vector<Place> path = makePath();
    const auto length = static_cast<std::size_t>(state.range(0));
    PlayState play;
    layOutSnake(play.snake, length, path);
    play.food = {-5000.0f, -5000.0f, 0.0f, 1};  // never reached
    play.heading = {2.0f, 0.0f, 0.0f};
    play.frameTime = 0.001;
    play.playTime = 100.0;
    std::size_t next = length;

    const std::size_t allocationsBefore = heapAllocations();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        const Place& place = path[next % path.size()];
        play.snake[0].x = place.x;
        play.snake[0].y = place.y;
        play.playTime += 0.05;
        if (!runGameUpdate(play)) {
            state.SkipWithError("the snake died");
            break;
        }
        if (play.nextTrailStep != play.playTime + 0.045) {
            state.SkipWithError("no trail step");
            break;
        }
        ++next;
    }
    benchmark::DoNotOptimize(play.snake.data());
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(heapAllocations() - allocationsBefore),
                                                  benchmark::Counter::kAvgIterations);
    if (play.snake.size() != length) state.SkipWithError("the snake grew");
}
BENCHMARK(BM_gameUpdate)->Arg(2)->Arg(1000)->Arg(10000);

// Placement against 10 000 segments lying on the path: they block about four
// fifths of the food rectangle, so most placements take several attempts.
void BM_placeFoodCrowded(benchmark::State& state) {
    resetScriptedPlatform();
    const std::vector<Place> path = makePath();
    Snake snake;
    layOutSnake(snake, static_cast<std::size_t>(state.range(0)), path);
    Food food;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        placeFood(food, foodOrigin(), foodExtent(512, 256), snake);
        benchmark::DoNotOptimize(food);
    }
}
BENCHMARK(BM_placeFoodCrowded)->Arg(10000);

// The same snake still waiting off the board, as right after a meal: the first
// attempt succeeds after looking at every segment once.
void BM_placeFoodFirstAttempt(benchmark::State& state) {
    resetScriptedPlatform();
    Snake snake(static_cast<std::size_t>(state.range(0)));
    for (Segment& s : snake) s.x = s.y = -1000.0f;
    Food food;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        placeFood(food, foodOrigin(), foodExtent(512, 256), snake);
        benchmark::DoNotOptimize(food);
    }
}
BENCHMARK(BM_placeFoodFirstAttempt)->Arg(10000);

}  // namespace
