#pragma once
#include <cstdint>
#include <vector>

#include "state/carried_over.h"

// Where a game stood when the head ate or died, to prove a replay still
// follows the game it was made from.
struct Checkpoint {
    std::uint32_t frame = 0;  // counted from 1
    std::uint32_t score = 0;
    float headX = 0.0f;
    float headY = 0.0f;
    bool operator==(const Checkpoint&) const = default;
};

// Everything a game's rules took from outside, in the order they took it.
struct Recording {
    CarriedOver carried;
    std::vector<double> frameTimes;    // one per play frame, after the cap
    std::vector<std::uint8_t> arrows;  // one per key poll, see ArrowBits
    std::vector<double> randoms;       // every number the food drew
    std::vector<Checkpoint> checkpoints;
    bool operator==(const Recording&) const = default;
};

// The four arrow reads of one poll.
enum ArrowBits : std::uint8_t { arrowUp = 1, arrowDown = 2, arrowRight = 4, arrowLeft = 8 };

inline int recordedScore(const Recording& recording) {
    return recording.checkpoints.empty() ? -1 : static_cast<int>(recording.checkpoints.back().score);
}
