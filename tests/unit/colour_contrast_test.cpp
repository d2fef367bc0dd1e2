// The contrast maths the palette test and the screenshot tool share.
#include <gtest/gtest.h>

#include "support/colour_contrast.h"

namespace {

TEST(ColourContrast, GreysKeepTheirLuminanceInEveryVisionBlackOnWhiteIsTwentyOneAndMeansAreOnLight) {
    const LinearColour white{1.0, 1.0, 1.0};
    const LinearColour black{};
    for (Vision vision : everyVision) {
        SCOPED_TRACE(visionName(vision));
        for (std::uint8_t level : {0, 40, 128, 200, 255}) {
            const double v = linearFromByte(level);
            EXPECT_NEAR(luminance(simulateVision({v, v, v}, vision)), v, 1e-5) << int{level};
        }
        EXPECT_NEAR(contrastRatio(white, black, vision), 21.0, 1e-4);
        EXPECT_NEAR(contrastRatio(black, white, vision), 21.0, 1e-4);
    }
    EXPECT_NEAR(linearFromByte(128), 0.2158605, 1e-6);
    EXPECT_NEAR(linearFromByte(10), 10 / 255.0 / 12.92, 1e-9) << "the straight part near black";
    // The mean is taken on light: black and white pixels average to half light.
    ColourMean mean;
    addPixel(mean, 0, 0, 0);
    addPixel(mean, 255, 255, 255);
    EXPECT_NEAR(meanColour(mean).g, 0.5, 1e-12);
}

}  // namespace
