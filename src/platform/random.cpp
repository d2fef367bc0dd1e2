#include "platform/mersenne_twister.h"
#include "platform/platform.h"

namespace {
MersenneTwister generator;
}

void seedRandom(double seed) { seedMersenneTwister(generator, seed); }
double nextRandom() { return nextUnitDouble(generator); }
