#pragma once
#include <cstdint>

#include "state/vec3.h"

// What a game takes over from the one before it: game start does not reset
// these. A recording keeps them, so a replay starts where its game started.
struct CarriedOver {
    double playTime = 0.0;
    double nextTrailStep = 0.0;  // on playTime's scale
    Vec3f lastPollPosition;
    float reversalPulse = 0.0f;
    bool movingHorizontally = true;
    bool movingVertically = false;
    std::uint32_t boardWidth = 512;
    std::uint32_t boardHeight = 256;
    bool operator==(const CarriedOver&) const = default;
};

// The reversal pulse runs from its start to this, then the game moves again;
// the board pass narrows the body where it has got to.
inline constexpr float reversalPulseEnd = 50.0f;
