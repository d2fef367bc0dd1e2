#pragma once
// Whole runs of the program (runSession) on the scripted platform, for the
// tests of the loop, the still screens and the latched keys.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "render/display_setup.h"
#include "support/scripted_platform.h"

// A fresh platform with the console open, as start-up leaves them.
inline void freshPlatform(double presentSeconds = 1.0 / 60.0) {
    resetScriptedPlatform();
    scripted().presentSeconds = presentSeconds;
    consoleChannel = openConsole();
}

// The food of the next `placements` placements far off at (0, 24), clear of
// a snake that goes along the middle row or straight up.
inline void foodFarOff(int placements = 1) {
    for (int i = 0; i < 3 * placements; ++i) scripted().randoms.push_back(0.0);
}

// Ends the run at the first clock reading after `at`, by the platform giving
// up on it. Escape and a signal release the snake of a game in play; this
// leaves the whole game as it stands. It must be the script's last event.
inline void stopAfter(double at) {
    scriptAt(at, Happening::keyUp, 0);  // nothing happens: a key that was not down
    scripted().giveUpAfter = 0.0;
}

// Runs the program until it ends: the exit status, or -1 after stopAfter.
inline int runToEnd(Program& program) {
    try {
        return runSession(program);
    } catch (const ProgramEnded& ended) {
        return ended.status;
    }
}

// Halfway through the first present at or after `at`, in the run just made:
// an event scripted there is handled by that present and by no earlier one.
inline double duringPresentFrom(double at) {
    const std::vector<double>& times = scripted().presentTimes;
    const auto present = std::lower_bound(times.begin(), times.end(), at);
    if (present == times.end()) return -1.0;
    return *present - scripted().presentSeconds / 2.0;
}

// A game in the scripted store's table of best games, after those there (the
// caller keeps them best first), with its recording's bytes under its name,
// or without a recording when bytes is empty.
inline void addKeptGame(int score, const std::vector<std::uint8_t>& bytes, const std::string& name) {
    auto& entries = scripted().bestGames.entries;
    const auto row = static_cast<std::int64_t>(entries.size());
    entries.push_back({score, 1'767'225'600 + 86'400 * row, 62.5, bytes.empty() ? "" : name});
    if (!bytes.empty()) scripted().bestGamesRecordings[name] = bytes;
}
