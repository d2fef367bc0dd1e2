#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "state/recording.h"

// Where the rules take what comes from outside the game: the platform (live),
// the platform while writing it down (recording), or a recording (replaying).
enum class InputMode { live, recording, replaying };

struct GameInput {
    InputMode mode = InputMode::live;
    Recording recording;
    std::uint32_t frames = 0;  // play frames begun this game
    // How far a replay has read each stream.
    std::size_t nextArrows = 0;
    std::size_t nextRandom = 0;
    std::size_t nextCheckpoint = 0;
    // Why a replay stopped making sense; empty while it follows.
    std::string problem;
    bool operator==(const GameInput&) const = default;
};
