#pragma once
#include <array>
#include <cstdint>

// MT19937 whose 624-word state is filled by a linear congruential recurrence
// from one seed word; regeneration and tempering are the published ones.
struct MersenneTwister {
    std::array<std::uint32_t, 624> state{};
    int index = 624;  // 624 means: regenerate before the next draw
};

void seedMersenneTwister(MersenneTwister& generator, double seed);
std::uint32_t nextMersenneWord(MersenneTwister& generator);
// Next word divided by 2^32: a double in [0, 1).
double nextUnitDouble(MersenneTwister& generator);
