// Whole play frames (board pass, cylinder pass, present; no 3 ms sleep) in
// the game's real window, and the time from process start to the first
// presented title frame. Needs an X display: run under xvfb-run.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_frames
//
// BM_PlayFrameFullScreen draws the same frames letterboxed into a 1280 x 1024
// drawable, the size of full screen on such a screen.
//
// Each frame case reports the median and 99th-percentile frame time of its
// own frames as counters, and the median CPU time of the main thread
// (cpu_median_ms): llvmpipe fills the pixels on threads of its own, so this
// is what issuing the frame costs. Arguments: snake segments; the head's
// board row, which sets the cylinder's tilt. BM_PlayFrameRecording adds what
// recording a game adds to a frame (its time step and one key poll written
// down); "allocs" counts heap allocations a frame.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <SDL2/SDL.h>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/cylinder_pass.h"
#include "render/gl.h"
#include "rules/recorded_input.h"
#include "support/heap_counter.h"

namespace {

Program program;

// Seconds since boot at which this process started (10 ms resolution).
double processStartSinceBoot() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Field 22 (starttime) counts from the field after the command's ')'.
    std::size_t pos = stat.rfind(')');
    if (pos == std::string::npos) return 0.0;
    int field = 2;
    unsigned long long startTicks = 0;
    for (std::size_t i = pos + 1; i < stat.size(); ++i) {
        if (stat[i] == ' ') {
            ++field;
            if (field == 22) {
                startTicks = std::stoull(stat.substr(i + 1));
                break;
            }
        }
    }
    return static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double nowSinceBoot() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A snake of n segments 4.5 apart along rows 18 apart that run leftward round
// the whole board, crossing the seam on every row, head at (300, headY).
void layOutSnake(PlayState& play, int n, float headY) {
    play.snake.assign(static_cast<std::size_t>(n), Segment{});
    for (int i = 0; i < n; ++i) {
        const double along = 4.5 * i;
        const int row = static_cast<int>(along / 512.0);
        Segment& s = play.snake[static_cast<std::size_t>(i)];
        s.x = static_cast<float>(std::fmod(300.0 - along + 512.0 * 16, 512.0));
        s.y = static_cast<float>(30.0 + std::fmod(headY - 30.0 - 18.0 * row + 2000.0, 200.0));
        s.scale = 1.0f;
    }
    play.food = {};
    play.food.x = 120.0f;
    play.food.y = 90.0f;
    play.food.value = 7;
    play.viewX = -play.snake[0].x;
    play.viewY = -play.snake[0].y;
    play.reversalPulse = 0.0f;
    play.frameTime = 0.016;
    play.headAngle = 180;
}

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const std::size_t index = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

void runPlayFrames(benchmark::State& state, bool recording) {
    PlayState& play = program.play;
    layOutSnake(play, static_cast<int>(state.range(0)), static_cast<float>(state.range(1)));
    const std::uint32_t board = boardTexture(program);
    play.input.mode = InputMode::live;
    if (recording) beginRecording(play);

    auto frame = [board] {
        PlayState& drawn = program.play;
        noteFrameTime(drawn.input, drawn.frameTime);
        benchmark::DoNotOptimize(readArrowKeys(drawn.input));
        runBoardPass(drawn, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
        runCylinderPass(drawn, board, drawn.boardHeight, program.light, program.font);
        present();
    };
    // The driver compiles its shader variants in the first frames.
    for (int warmUp = 0; warmUp < 3; ++warmUp) frame();

    std::vector<double> frameSeconds;
    std::vector<double> cpuSeconds;
    frameSeconds.reserve(static_cast<std::size_t>(state.max_iterations));
    cpuSeconds.reserve(static_cast<std::size_t>(state.max_iterations));
    const std::size_t allocationsBefore = heapAllocations();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop's own idiom
        const double cpuStart = threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        frame();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        cpuSeconds.push_back(threadCpuSeconds() - cpuStart);
        frameSeconds.push_back(took.count());
        state.SetIterationTime(took.count());
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(heapAllocations() - allocationsBefore),
                                                  benchmark::Counter::kAvgIterations);
    state.counters["median_ms"] = percentile(frameSeconds, 0.5) * 1e3;
    state.counters["cpu_median_ms"] = percentile(cpuSeconds, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(frameSeconds, 0.99) * 1e3;
    state.counters["max_ms"] = *std::max_element(frameSeconds.begin(), frameSeconds.end()) * 1e3;
}

void BM_PlayFrame(benchmark::State& state) { runPlayFrames(state, false); }
void BM_PlayFrameRecording(benchmark::State& state) { runPlayFrames(state, true); }

// The window at the given size, once the platform reports the new drawable.
bool resizeWindow(int width, int height) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window) return false;
    SDL_SetWindowSize(window, width, height);
    for (int i = 0; i < 200; ++i) {
        present();
        const PixelSize size = drawableSize();
        if (size.width == width && size.height == height) return true;
        SDL_Delay(10);
    }
    return false;
}

void BM_PlayFrameFullScreen(benchmark::State& state) {
    if (!resizeWindow(1280, 1024)) {
        state.SkipWithError("the window could not be made 1280 x 1024");
        return;
    }
    BM_PlayFrame(state);
    resizeWindow(1024, 768);
}

// Arguments: segments, head row. Rows 100, 160 and 230 tilt the cylinder enough
// to show the inside of an open end at a grazing angle, where a software
// renderer with anisotropic filtering on took seconds a frame.
BENCHMARK(BM_PlayFrame)
    ->Args({2, 128})
    ->Args({100, 128})
    ->Args({1000, 128})
    ->Args({100, 100})
    ->Args({100, 160})
    ->Args({2, 100})
    ->Args({2, 160})
    ->Args({2, 230})
    ->Iterations(400)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayFrameRecording)
    ->Args({2, 128})
    ->Args({1000, 128})
    ->Iterations(400)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayFrameFullScreen)
    ->Args({2, 128})
    ->Args({1000, 128})
    ->Iterations(400)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const double processStart = processStartSinceBoot();
    const double startUpBegins = nowSinceBoot();
    // Sound opens, mixes and plays as in the game, into SDL's dummy driver
    // unless another is asked for: never the speakers of the machine measured.
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // NOLINT(concurrency-mt-unsafe): no other thread yet
    // Start-up prints every extension name; keep them out of the report.
    static_cast<void>(std::fflush(stdout));  // only the report's order depends on it
    const int savedStdout = dup(1);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    startUp(program);
    drawTitleFrame(program);
    present();
    glFinish();
    const double firstTitle = nowSinceBoot();
    static_cast<void>(std::fflush(stdout));  // only the report's order depends on it
    dup2(savedStdout, 1);
    close(devNull);
    close(savedStdout);
    std::printf("start-up: process start to first presented title frame %.0f ms "
                "(process start read from /proc, 10 ms steps); start-up sequence alone %.0f ms; "
                "off-screen target %s\n",
                (firstTitle - processStart) * 1e3, (firstTitle - startUpBegins) * 1e3,
                program.boardTarget.width != 0 ? "yes" : "no (copy from the back buffer)");
    static_cast<void>(std::fflush(stdout));  // only the report's order depends on it

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
