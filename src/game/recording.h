#pragma once
#include <cstdint>
#include <vector>

#include "game/vec3.h"

// Where a game stood when the head ate or died, to prove a replay still
// follows the game it was made from.
struct Checkpoint {
    std::uint32_t frame = 0;  // counted from 1
    std::uint32_t score = 0;
    float headX = 0.0f;
    float headY = 0.0f;
};

// Everything a game's rules took from outside, in the order they took it.
struct Recording {
    // What the game carried over from the one before it; game start does not reset these.
    double playTime = 0.0;
    double nextTrailStep = 0.0;
    Vec3f lastPollPosition;
    float reversalPulse = 0.0f;
    bool movingHorizontally = true;
    bool movingVertically = false;
    std::uint32_t boardWidth = 512;
    std::uint32_t boardHeight = 256;

    std::vector<double> frameTimes;    // one per play frame, after the cap
    std::vector<std::uint8_t> arrows;  // one per key poll, see ArrowBits
    std::vector<double> randoms;       // every number the food drew
    std::vector<Checkpoint> checkpoints;
};

// The four arrow reads of one poll.
enum ArrowBits : std::uint8_t { arrowUp = 1, arrowDown = 2, arrowRight = 4, arrowLeft = 8 };

inline int recordedScore(const Recording& recording) {
    return recording.checkpoints.empty() ? -1 : static_cast<int>(recording.checkpoints.back().score);
}
