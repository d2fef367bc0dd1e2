#pragma once
#include <cstdint>

#include "state/vec3.h"

// The board the game is made for; without an off-screen target the rules keep it.
inline constexpr std::uint32_t boardWidthPixels = 512;
inline constexpr std::uint32_t boardHeightPixels = 256;

// What a game takes over from the one before it: game start does not reset
// these. A recording keeps them, so a replay starts where its game started.
struct CarriedOver {
    double playTime = 0.0;
    double nextTrailStep = 0.0;  // on playTime's scale
    Vec3f lastPollPosition;
    float reversalPulse = 0.0f;
    bool movingHorizontally = true;
    bool movingVertically = false;
    std::uint32_t boardWidth = boardWidthPixels;
    std::uint32_t boardHeight = boardHeightPixels;
    bool operator==(const CarriedOver&) const = default;
};

// The reversal pulse runs from its start to this, then the game moves again;
// the board pass narrows the body where it has got to.
inline constexpr float reversalPulseEnd = 50.0f;
