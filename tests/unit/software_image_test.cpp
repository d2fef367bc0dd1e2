// The software image and its drawing operations, without GL.
#include <gtest/gtest.h>

#include <cstring>

#include "render/software_image.h"

namespace {

constexpr std::uint32_t red = 0xFFB22222u;

std::uint32_t rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

int countColor(const SoftwareImage& image, std::uint32_t color) {
    int count = 0;
    for (std::uint32_t pixel : image.pixels) count += pixel == color;
    return count;
}

TEST(SoftwareImage, IsFilledTopRowFirstWithPackedRowsInBlueGreenRedAlphaByteOrder) {
    SoftwareImage image = createImage(3, 2, 0x00000000u);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    ASSERT_EQ(image.pixels.size(), 6u);
    setPixel(image, 1, 1, 0x80112233u);
    EXPECT_EQ(getPixel(image, 1, 1), 0x80112233u);
    // (1, 1) is the fifth pixel: one packed row of three, then one more.
    const auto* bytes = reinterpret_cast<const unsigned char*>(image.pixels.data());
    EXPECT_EQ(bytes[16], 0x33);  // blue
    EXPECT_EQ(bytes[17], 0x22);  // green
    EXPECT_EQ(bytes[18], 0x11);  // red
    EXPECT_EQ(bytes[19], 0x80);  // alpha
    EXPECT_EQ(countColor(image, 0x00000000u), 5);

    SoftwareImage filled = createImage(4, 4, red);
    EXPECT_EQ(countColor(filled, red), 16);
    freeImage(filled);
    EXPECT_EQ(filled.width, 0);
    EXPECT_TRUE(filled.pixels.empty());
}

TEST(SoftwareImage, SetPixelOutsideChangesNothing) {
    SoftwareImage image = createImage(4, 3, 0x12345678u);
    const std::vector<std::uint32_t> before = image.pixels;
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}, {-1, -1}, {1000, 1}})
        setPixel(image, x, y, red);
    EXPECT_EQ(image.pixels, before);
}

TEST(SoftwareImage, LinesCoverBothEndsAndEverythingBetweenAndAreClipped) {
    SoftwareImage image = createImage(8, 8, 0);
    drawLine(image, 6, 2, 1, 2, red);  // right to left
    for (int x = 0; x < 8; ++x) EXPECT_EQ(getPixel(image, x, 2), x >= 1 && x <= 6 ? red : 0u) << x;
    EXPECT_EQ(countColor(image, red), 6);

    SoftwareImage column = createImage(8, 8, 0);
    drawLine(column, 3, 0, 3, 8, red);  // the far end lies outside and is dropped
    for (int y = 0; y < 8; ++y) EXPECT_EQ(getPixel(column, 3, y), red) << y;
    EXPECT_EQ(countColor(column, red), 8);

    SoftwareImage dot = createImage(4, 4, 0);
    drawLine(dot, 2, 1, 2, 1, red);
    EXPECT_EQ(getPixel(dot, 2, 1), red);
    EXPECT_EQ(countColor(dot, red), 1);
}

TEST(SoftwareImage, DiscOverTheEdgeIsClipped) {
    SoftwareImage image = createImage(10, 10, 0);
    fillDisc(image, 0, 9, 4, red);
    EXPECT_EQ(getPixel(image, 0, 9), red);
    EXPECT_EQ(getPixel(image, 4, 9), red);
    EXPECT_EQ(getPixel(image, 0, 5), red);
    EXPECT_EQ(getPixel(image, 5, 9), 0u);
    EXPECT_EQ(getPixel(image, 9, 0), 0u);
    fillDisc(image, 5, 5, 0, red);
    EXPECT_EQ(getPixel(image, 5, 5), red);
    EXPECT_EQ(getPixel(image, 6, 5), 0u);
}

TEST(Blur, RadiusZeroOrLessChangesNothing) {
    SoftwareImage image = createImage(5, 4, 0x00102030u);
    setPixel(image, 2, 2, red);
    const std::vector<std::uint32_t> before = image.pixels;
    blurImage(image, image, 0);
    EXPECT_EQ(image.pixels, before);
    blurImage(image, image, -2);
    EXPECT_EQ(image.pixels, before);
}

// One lit pixel at the top left of a 3 x 2 image with transparent alpha.
SoftwareImage litCornerImage() {
    SoftwareImage image = createImage(3, 2, 0x00000000u);
    setPixel(image, 0, 0, 0x005AB424u);  // red 90, green 180, blue 36, alpha 0
    return image;
}

TEST(Blur, InPlaceRunsOverPixelsAlreadyFilteredAboveAndToTheLeft) {
    SoftwareImage image = litCornerImage();
    blurImage(image, image, 1);
    // Worked by hand, row by row, each window summing the values written so far:
    // (0,0) 4 pixels: 90/4, 180/4, 36/4; (1,0) 6 pixels: 22/6, 45/6, 9/6; and so on.
    const std::vector<std::uint32_t> expected = {
        rgb(22, 45, 9), rgb(3, 7, 1), rgb(0, 1, 0), rgb(6, 13, 2), rgb(5, 11, 2), rgb(2, 4, 0),
    };
    EXPECT_EQ(image.pixels, expected);
}

TEST(Blur, OutOfPlaceReadsOnlyTheSource) {
    const SoftwareImage source = litCornerImage();
    SoftwareImage destination = createImage(3, 2, 0xFFFFFFFFu);
    blurImage(destination, source, 1);
    const std::vector<std::uint32_t> expected = {
        rgb(22, 45, 9), rgb(15, 30, 6), rgb(0, 0, 0), rgb(22, 45, 9), rgb(15, 30, 6), rgb(0, 0, 0),
    };
    EXPECT_EQ(destination.pixels, expected);
    EXPECT_EQ(source.pixels, litCornerImage().pixels) << "the source is only read";
}

TEST(Blur, AFlatImageStaysFlatAndBecomesOpaque) {
    SoftwareImage image = createImage(6, 5, 0x00407F10u);
    blurImage(image, image, 2);
    EXPECT_EQ(countColor(image, 0xFF407F10u), 30);
}

}  // namespace
