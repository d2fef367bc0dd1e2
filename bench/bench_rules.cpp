// Cost of one game update and of one food placement for long snakes.
//
//   bench_rules [--benchmark_filter=...]
//
// The update benchmark makes every iteration a full one: the head stands on a
// new whole pixel and the play time has passed the trail timer, so the key poll and
// the trail step run each time, followed by taper, motion, both tests and the
// food test. The "allocs" counter is heap allocations per iteration.
// BM_gameUpdateRecorded writes down each update's key poll and time step as a
// game in play does. BM_loadAndCheckRecording decodes and checks a game of
// the given minutes at 60 frames a second (bytes: the file's size).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "rules/food_rules.h"
#include "rules/frame_rules.h"
#include "rules/game_update.h"
#include "rules/recorded_input.h"
#include "rules/recording_check.h"
#include "rules/recording_file.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"
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

void runGameUpdates(benchmark::State& state, bool recording) {
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
    if (recording) beginRecording(play);

    const std::size_t allocationsBefore = heapAllocations();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        const Place& place = path[next % path.size()];
        play.snake[0].x = place.x;
        play.snake[0].y = place.y;
        play.playTime += 0.05;
        // Games of ten minutes at 60 frames a second, one after another.
        if (recording && play.input.frames == 36000) beginRecording(play);
        noteFrameTime(play.input, 0.05);
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
void BM_gameUpdate(benchmark::State& state) { runGameUpdates(state, false); }
void BM_gameUpdateRecorded(benchmark::State& state) { runGameUpdates(state, true); }
BENCHMARK(BM_gameUpdate)->Arg(2)->Arg(1000)->Arg(10000);
BENCHMARK(BM_gameUpdateRecorded)->Arg(2)->Arg(1000)->Arg(10000);

// A game of the given minutes at 60 frames a second: the first food far off in
// the corner, Right with a step Up and back Down every two seconds across the
// middle rows, then Up into the top row.
std::vector<std::uint8_t> recordGame(int minutes) {
    resetScriptedPlatform();
    scripted().randoms = {0.0, 0.0, 0.0};
    const int frames = minutes * 3600;
    // Each tap lands between two presents of 1/60 s and counts at the next poll.
    for (int frame = 0; frame < frames; ++frame) {
        const int phase = frame % 240;
        const double at = (frame + 0.5) / 60.0;
        if (phase == 60) scriptTap(at, scanUp);
        if (phase == 90 || phase == 210) scriptTap(at, scanRight);
        if (phase == 180) scriptTap(at, scanDown);
    }
    scriptAt((frames + 0.5) / 60.0, Happening::keyDown, scanUp);
    PlayState play;
    resetSnake(play.snake);
    beginRecording(play);
    placeFood(play.food, foodOrigin(), foodExtent(play.boardWidth, play.boardHeight), play.snake, play.input);
    for (;;) {
        play.frameTime = 1.0 / 60.0;
        noteFrameTime(play.input, play.frameTime);
        play.playTime += play.frameTime;
        if (!runFrameRules(play)) break;
        advanceReversalPulse(play);
        present();
    }
    std::vector<std::uint8_t> bytes;
    encodeRecording(play.input.recording, bytes);
    return bytes;
}

void BM_loadAndCheckRecording(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = recordGame(static_cast<int>(state.range(0)));
    Recording recording;
    std::string problem;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        if (!decodeRecording(bytes, recording, problem) || !checkRecording(recording, problem)) {
            state.SkipWithError(problem.c_str());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.counters["frames"] = static_cast<double>(recording.frameTimes.size());
    state.counters["bytes_per_frame"] = static_cast<double>(bytes.size()) /
                                        static_cast<double>(recording.frameTimes.size());
}
BENCHMARK(BM_loadAndCheckRecording)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// A recording from the file named by TUBEWYRM_BENCH_RECORDING (for example the
// 30-minute game of `write_recorded_games --long`): what start-up does with
// it (decode), and what the first replay adds (the check through the rules).
void runRecordingFile(benchmark::State& state, bool check) {
    const char* path = std::getenv("TUBEWYRM_BENCH_RECORDING");  // NOLINT(concurrency-mt-unsafe): one thread
    std::ifstream in(path ? path : "", std::ios::binary);
    if (!in) {
        state.SkipWithError("set TUBEWYRM_BENCH_RECORDING to a recording file");
        return;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Recording recording;
    std::string problem;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        if (!decodeRecording(bytes, recording, problem) || (check && !checkRecording(recording, problem))) {
            state.SkipWithError(problem.c_str());
            break;
        }
    }
    state.counters["frames"] = static_cast<double>(recording.frameTimes.size());
    state.counters["score"] = recordedScore(recording);
}
void BM_decodeRecordingFile(benchmark::State& state) { runRecordingFile(state, false); }
void BM_decodeAndCheckRecordingFile(benchmark::State& state) { runRecordingFile(state, true); }
BENCHMARK(BM_decodeRecordingFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decodeAndCheckRecordingFile)->Unit(benchmark::kMillisecond);

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
