#include "rules/portable_sine.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr double twoOverPi = 0x1.45f306dc9c883p-1;
// pi / 2 in three parts; the first two have 33 bits, so k × part is exact
// for every k below 2^20.
constexpr double halfPi1 = 0x1.921fb544p+0;
constexpr double halfPi2 = 0x1.0b4611a6p-34;
constexpr double halfPi3 = 0x1.3198a2e037073p-69;

// ±1 / n! for n = 0 .. 19, alternating in sign every second n: the Taylor
// coefficients of sine (odd n) and cosine (even n). Beyond 19 the terms fall
// below 10^-19 on [-pi/4, pi/4].
constexpr std::array<double, 20> taylor = [] {
    std::array<double, 20> c{};
    double factorial = 1.0;
    for (int n = 0; n < 20; ++n) {
        if (n > 0) factorial *= n;
        c[static_cast<std::size_t>(n)] = ((n / 2) % 2 == 0 ? 1.0 : -1.0) / factorial;
    }
    return c;
}();

// Horner's rule over r², from the highest term down to the one of degree first.
double series(double r, int first) {
    const double r2 = r * r;
    double sum = 0.0;
    for (int n = first + 18; n >= first; n -= 2) sum = sum * r2 + taylor[static_cast<std::size_t>(n)];
    return first == 1 ? sum * r : sum;
}

}  // namespace

double portableSine(double x) {
    if (!std::isfinite(x)) return x - x;  // NaN, as sin gives, and no cast of a NaN below
    // x = k × pi/2 + r with |r| <= pi/4; the quadrant k mod 4 picks the series.
    const double k = std::floor(x * twoOverPi + 0.5);
    const double r = ((x - k * halfPi1) - k * halfPi2) - k * halfPi3;
    const auto quadrant = static_cast<std::int64_t>(std::fmod(k, 4.0) + 4.0) % 4;
    switch (quadrant) {
    case 0: return series(r, 1);
    case 1: return series(r, 0);
    case 2: return -series(r, 1);
    default: return -series(r, 0);
    }
}
