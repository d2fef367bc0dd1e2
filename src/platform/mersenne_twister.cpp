#include "platform/mersenne_twister.h"

#include <cmath>

namespace {

constexpr int stateSize = 624;
constexpr int shiftSize = 397;
constexpr std::uint32_t matrixA = 0x9908B0DFu;
constexpr std::uint32_t upperMask = 0x80000000u;
constexpr std::uint32_t lowerMask = 0x7FFFFFFFu;

// Truncates toward zero and keeps the low 32 bits; values a 64-bit integer
// cannot hold (and NaN) give 0 rather than undefined behaviour.
std::uint32_t seedWord(double seed) {
    if (!(std::fabs(seed) < 9.2e18)) return 0;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(seed)));
}

void regenerate(MersenneTwister& g) {
    auto& mt = g.state;
    for (int i = 0; i < stateSize; ++i) {
        std::uint32_t y = (mt[i] & upperMask) | (mt[(i + 1) % stateSize] & lowerMask);
        std::uint32_t next = mt[(i + shiftSize) % stateSize] ^ (y >> 1);
        if (y & 1u) next ^= matrixA;
        mt[i] = next;
    }
    g.index = 0;
}

}  // namespace

void seedMersenneTwister(MersenneTwister& generator, double seed) {
    generator.state[0] = seedWord(seed);
    for (int i = 1; i < stateSize; ++i) generator.state[i] = generator.state[i - 1] * 1664525u + 1013904223u;
    generator.index = stateSize;
}

std::uint32_t nextMersenneWord(MersenneTwister& generator) {
    if (generator.index >= stateSize) regenerate(generator);
    std::uint32_t y = generator.state[generator.index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

double nextUnitDouble(MersenneTwister& generator) { return nextMersenneWord(generator) / 4294967296.0; }
