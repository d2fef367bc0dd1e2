// The wiggle's sine where the kept games never take it: every quadrant, both
// signs, and arguments up to the 10^6 of a 14-hour session, against the C
// library's sin.
#include <gtest/gtest.h>

#include <cmath>

#include "rules/portable_sine.h"

namespace {

TEST(PortableSine, KeepsWithinFourUnitsInTheLastPlaceOfTheLibrarySine) {
    // Away from the zeros, where a last place is too fine to ask for.
    for (const double x : {1e-9, 0.3, -0.3, 0.78, 0.8, 1.5, 2.5, 3.9, 4.5, -5.5, 6.0, 100.25, -2048.75, 36000.123,
                           271828.5, 817314.10911094968, -999999.5}) {
        SCOPED_TRACE(x);
        const double want = std::sin(x);
        const double unit = std::nextafter(std::fabs(want), 2.0) - std::fabs(want);
        EXPECT_LE(std::fabs(portableSine(x) - want), 4.0 * unit);
    }
}

}  // namespace
