// The contrast maths the palette test and the screenshot tool share.
#include <gtest/gtest.h>

#include "support/colour_contrast.h"

namespace {

TEST(ColourContrast, GreysKeepTheirLuminanceInEveryVisionAndBlackOnWhiteIsTwentyOne) {
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
}

TEST(ColourContrast, RedAndGreenOfEqualLightnessStayApartOnlyForNormalVision) {
    // A pure red and a pure green of the same luminance for normal vision.
    const LinearColour red{1.0, 0.0, 0.0};
    const LinearColour green{0.0, 0.2126 / 0.7152, 0.0};
    EXPECT_NEAR(contrastRatio(red, green, Vision::normal), 1.0, 1e-9);
    // Without long-wave cones red looks far darker than green of its lightness.
    EXPECT_GT(contrastRatio(red, green, Vision::protanopia), 1.5);
    // The mean is taken on light: black and white pixels average to half light.
    ColourMean mean;
    addPixel(mean, 0, 0, 0);
    addPixel(mean, 255, 255, 255);
    EXPECT_NEAR(meanColour(mean).g, 0.5, 1e-12);
    EXPECT_EQ(meanColour(ColourMean{}).r, 0.0);
}

}  // namespace
