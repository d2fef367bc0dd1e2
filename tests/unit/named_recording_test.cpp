// A recording named on the command line: replayed before the first title, or
// timed frame by frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "game/timed_demo.h"
#include "support/recorded_games.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

namespace {

Recording keptRecording(const std::string& name) {
    Recording recording;
    std::string problem;
    EXPECT_TRUE(loadKeptRecording(name, recording, problem)) << problem;
    return recording;
}

TEST(OpeningReplay, PlaysWhileTheWindowIsNotYetInViewThenGivesTheRecordingBack) {
    freshPlatform();
    Recording named = keptRecording("short_game");
    const Recording namedBefore = named;
    Program program;
    // The window gets the focus a little after it opens.
    scriptAt(0.0, Happening::focusLost);
    static_cast<void>(waitForEvents(0));
    scriptAt(0.5, Happening::focusGained);
    scriptTap(3.0, scanEscape);
    EXPECT_EQ(runSession(program, &named), 0);
    EXPECT_EQ(program.replay.input.frames, namedBefore.frameTimes.size()) << "replayed to its end";
    EXPECT_EQ(named, namedBefore);
}

TEST(TimedDemo, DrawsEveryFrameWithoutSleepOrWaitAndTimesThemFromPresentToPresent) {
    const struct {
        const char* what;
        double escapeAt;
        std::vector<std::string> lines;
    } table[] = {
        {"to its end", 100.0, {"timedemo: frames=105 seconds=2.100 fps=50.0 low1=50.0 p99ms=20.00\r\n"}},
        {"stopped by Escape, without a line", 0.99, {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        freshPlatform(0.02);
        scriptTap(row.escapeAt, scanEscape);
        Recording recording = keptRecording("short_game");
        const Recording before = recording;
        Program program;
        EXPECT_EQ(runTimedDemo(program, recording), 0);
        EXPECT_EQ(scripted().consoleLines, row.lines);
        EXPECT_EQ(scripted().presentTimes.size(), row.lines.empty() ? 50u : 105u);
        EXPECT_EQ(scripted().sleptMilliseconds + scripted().waits, 0);
        EXPECT_EQ(recording, before);
    }
}

std::vector<double> frames(std::vector<double> times, std::size_t count, double seconds) {
    times.insert(times.end(), count, seconds);
    return times;
}

TEST(TimedDemo, LowOneIsTheRateOfTheSlowestHundredthAndP99TheNearestRank) {
    const struct {
        const char* what;
        std::vector<double> times;
        FrameTimeSummary expected;
    } table[] = {
        {"one frame", {0.025}, {1, 0.025, 40.0, 40.0, 25.0}},
        {"one slow frame in a hundred", frames({0.05}, 99, 0.01), {100, 1.04, 100 / 1.04, 20.0, 10.0}},
        {"101 frames: the slowest two", frames({0.06, 0.04}, 99, 0.01), {101, 1.09, 101 / 1.09, 20.0, 40.0}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        const FrameTimeSummary got = summariseFrameTimes(row.times);
        EXPECT_EQ(got.frames, row.expected.frames);
        EXPECT_NEAR(got.seconds, row.expected.seconds, 1e-9);
        EXPECT_NEAR(got.fps, row.expected.fps, 1e-9);
        EXPECT_NEAR(got.low1, row.expected.low1, 1e-9);
        EXPECT_NEAR(got.p99ms, row.expected.p99ms, 1e-9);
    }
}

}  // namespace
