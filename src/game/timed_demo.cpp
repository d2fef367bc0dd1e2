#include "game/timed_demo.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <utility>
#include <vector>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "platform/platform.h"
#include "render/display_setup.h"
#include "rules/frame_rules.h"
#include "state/recording.h"

FrameTimeSummary summariseFrameTimes(std::span<const double> frameSeconds) {
    FrameTimeSummary summary;
    const std::size_t frames = frameSeconds.size();
    summary.frames = frames;
    if (frames == 0) return summary;
    std::vector<double> sorted(frameSeconds.begin(), frameSeconds.end());
    std::sort(sorted.begin(), sorted.end());
    summary.seconds = std::accumulate(sorted.begin(), sorted.end(), 0.0);
    const std::size_t slowest = (frames + 99) / 100;
    const double slowSeconds = std::accumulate(sorted.end() - static_cast<std::ptrdiff_t>(slowest), sorted.end(), 0.0);
    // A clock too coarse to see a frame leaves the rates at 0 rather than infinite.
    if (summary.seconds > 0.0) summary.fps = static_cast<double>(frames) / summary.seconds;
    if (slowSeconds > 0.0) summary.low1 = static_cast<double>(slowest) / slowSeconds;
    // Nearest rank: the smallest time at least 99 % of the frames do not exceed.
    const std::size_t rank = (frames * 99 + 99) / 100;
    summary.p99ms = sorted[rank - 1] * 1000.0;
    return summary;
}

std::string timedemoLine(const FrameTimeSummary& summary) {
    char line[160];
    static_cast<void>(std::snprintf(line, sizeof line,
                                    "timedemo: frames=%zu seconds=%.3f fps=%.1f low1=%.1f p99ms=%.2f", summary.frames,
                                    summary.seconds, summary.fps, summary.low1, summary.p99ms));
    return line;
}

int runTimedDemo(Program& program, Recording& recording) {
    PlayState& shown = program.replay;
    startReplay(shown, recording);
    ReplayClock clock;
    clock.kind = ReplayKind::timed;
    const std::size_t total = shown.input.recording.frameTimes.size();
    std::vector<double> frameSeconds;
    frameSeconds.reserve(total);
    double lastPresent = readClock();
    while (shown.input.frames < total) {
        if (keyDown(scanEscape) || terminationRequested()) break;
        // The game's end is drawn too: every recorded frame once.
        const bool alive = runReplayedFrame(shown);
        drawReplayFrame(program, clock);
        present();
        const double now = readClock();
        frameSeconds.push_back(now - lastPresent);
        lastPresent = now;
        if (!alive) break;
    }
    if (frameSeconds.size() == total) writeConsoleLine(consoleChannel, timedemoLine(summariseFrameTimes(frameSeconds)));
    std::swap(shown.input.recording, recording);
    return 0;
}
