#pragma once
// The timed demo: a recorded game drawn as fast as the machine can, every
// frame once, timed from present to present on the real clock.
#include <cstddef>
#include <span>
#include <string>

struct Program;
struct Recording;

struct FrameTimeSummary {
    std::size_t frames = 0;
    double seconds = 0.0;  // all frames together
    double fps = 0.0;      // frames a second over them all
    double low1 = 0.0;     // frames a second over the slowest 1 % of them (one at least)
    double p99ms = 0.0;    // the 99th-percentile frame time, by nearest rank, in milliseconds
};
FrameTimeSummary summariseFrameTimes(std::span<const double> frameSeconds);

// The result line a script reads:
// "timedemo: frames=1234 seconds=5.678 fps=217.3 low1=150.2 p99ms=6.66".
std::string timedemoLine(const FrameTimeSummary& summary);

// Replays the recording (already run through the rules) frame by frame as a
// replay draws it (board pass, cylinder pass), with no sleep between frames,
// then writes its timedemoLine on the console. Escape or a termination signal
// stops it early, without the line. The exit status; the recording comes back
// unchanged.
int runTimedDemo(Program& program, Recording& recording);
