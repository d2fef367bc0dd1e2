// The five procedural pictures, checked in the software images before upload.
#include <gtest/gtest.h>

#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <set>
#include <tuple>

#include "render/texture_images.h"
#include "support/scripted_platform.h"

namespace {

std::uint32_t channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }
std::uint32_t alphaOf(std::uint32_t p) { return channel(p, 24); }
std::uint32_t redOf(std::uint32_t p) { return channel(p, 16); }
std::uint32_t greenOf(std::uint32_t p) { return channel(p, 8); }
std::uint32_t blueOf(std::uint32_t p) { return channel(p, 0); }

// Glyph pixel (column i, row j from the top) of code k as it lies in the font
// image: the grid is stored upside down, so the glyph's top row has the
// highest image row of its cell.
std::uint32_t fontGlyphPixel(const SoftwareImage& font, int code, int i, int j) {
    return getPixel(font, 8 * (code % 16) + i, 127 - 8 * (code / 16) - j);
}

TEST(FontImage, CapitalAAndTheFullBlockAreUprightInTheirCellsWhenTGrowsUpwards) {
    const SoftwareImage font = makeFontImage();
    // Capital A of code page 437, top row first.
    const char* capitalA[8] = {
        "..###...", ".##.##..", "##...##.", "#######.", "##...##.", "##...##.", "##...##.", "........",
    };
    // With t growing upwards, image row 95 is the top of the cell (t from 11/16 to 12/16).
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) {
            const std::uint32_t expected = capitalA[j][i] == '#' ? 0xFFFFFFFFu : 0u;
            EXPECT_EQ(getPixel(font, 8 + i, 95 - j), expected) << "glyph row " << j << " column " << i;
        }
    // Code 219 is cell row 13, column 11: image x 88..95, image y 16..23.
    for (int y = 16; y <= 23; ++y)
        for (int x = 88; x <= 95; ++x) EXPECT_EQ(getPixel(font, x, y), 0xFFFFFFFFu) << x << "," << y;
}

TEST(FontImage, ControlCodeCellsAreEmptyAlthoughTheirGlyphsHaveInk) {
    const SoftwareImage font = makeFontImage();
    for (int code : {7, 8, 9, 10, 13}) {
        int tableInk = 0;
        for (int j = 0; j < 8; ++j) tableInk += gfxPrimitivesFontdata[8 * code + j] != 0;
        ASSERT_GT(tableInk, 0) << "code " << code << " has a visible glyph in the table";
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(fontGlyphPixel(font, code, i, j), 0u) << "code " << code << " at " << i << "," << j;
    }
    // Their neighbours keep their ink.
    for (int code : {6, 11, 12, 14}) {
        int ink = 0;
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) ink += fontGlyphPixel(font, code, i, j) != 0;
        EXPECT_GT(ink, 0) << "code " << code;
    }
}

void expectTransparentCorners(const SoftwareImage& image) {
    ASSERT_EQ(image.width, 64);
    ASSERT_EQ(image.height, 64);
    for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}, {5, 5}, {58, 58}})
        EXPECT_EQ(getPixel(image, x, y), 0x00000000u) << x << "," << y;
}

TEST(DiscImages, BodyIsARedDiscOfRadiusThirtyOnTransparent) {
    const SoftwareImage body = makeBodyImage();
    expectTransparentCorners(body);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t pixel = getPixel(body, x, y);
            ASSERT_TRUE(pixel == 0xFFB22222u || pixel == 0u) << x << "," << y;
            const int d2 = (x - 32) * (x - 32) + (y - 32) * (y - 32);
            if (d2 <= 29 * 29) {
                EXPECT_EQ(pixel, 0xFFB22222u) << x << "," << y;
            } else if (d2 > 31 * 31) {
                EXPECT_EQ(pixel, 0u) << x << "," << y;
            }
        }
    EXPECT_EQ(getPixel(body, 2, 32), 0xFFB22222u);
    EXPECT_EQ(getPixel(body, 1, 32), 0u);
    EXPECT_EQ(getPixel(body, 62, 32), 0xFFB22222u);
    EXPECT_EQ(getPixel(body, 63, 32), 0u);
}

TEST(DiscImages, HeadHasBlackPupilsInWhiteEyesOnThePlusXSide) {
    const SoftwareImage head = makeHeadImage();
    expectTransparentCorners(head);
    EXPECT_EQ(getPixel(head, 32, 32), 0xFFB22222u);
    for (int eyeY : {16, 48}) {
        EXPECT_EQ(getPixel(head, 48, eyeY), 0xFF000000u);
        EXPECT_EQ(getPixel(head, 44, eyeY), 0xFF000000u);
        EXPECT_EQ(getPixel(head, 43, eyeY), 0xFFFFFFFFu);
        EXPECT_EQ(getPixel(head, 55, eyeY), 0xFFFFFFFFu);
        EXPECT_EQ(getPixel(head, 48, eyeY - 6), 0xFFFFFFFFu);
        EXPECT_EQ(getPixel(head, 40, eyeY), 0xFFB22222u);
        EXPECT_EQ(getPixel(head, 64 - 48, eyeY), 0xFFB22222u) << "no eye on the -x side";
    }
    // Outside the eyes the head is the body.
    const SoftwareImage body = makeBodyImage();
    int differing = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) differing += getPixel(head, x, y) != getPixel(body, x, y);
    EXPECT_GT(differing, 2 * 100);
    EXPECT_LT(differing, 2 * 15 * 15);
}

bool onJoint(int x, int y) {
    if (y == 0 || y == 16 || y == 32 || y == 48 || x == 0) return true;
    if (x == 16 && y <= 16) return true;
    if (x == 48 && y >= 16 && y <= 32) return true;
    if (x == 16 && y >= 32 && y <= 48) return true;
    return x == 32 && y >= 48;
}

class NoiseImages : public ::testing::Test {
protected:
    void SetUp() override { resetScriptedPlatform(); }
    // Alternating lowest and highest draws, so both ends of the grey range show.
    void queueExtremes(int count) {
        for (int i = 0; i < count; ++i) scripted().randoms.push_back(i % 2 == 0 ? 0.0 : 0.99999999);
    }
};

TEST_F(NoiseImages, TileBeforeTheBlurHasJointColourExactlyOnTheNineLinesAndGreysElsewhere) {
    queueExtremes(64 * 64);
    const SoftwareImage tile = makeTileImage(false);
    EXPECT_TRUE(scripted().randoms.empty()) << "one draw per pixel";
    ASSERT_EQ(tile.width, 64);
    ASSERT_EQ(tile.height, 64);
    int joints = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t pixel = getPixel(tile, x, y);
            if (onJoint(x, y)) {
                EXPECT_EQ(pixel, 0xFF060600u) << x << "," << y;
                ++joints;
                continue;
            }
            // Draws run row by row: an even index drew 0, an odd one nearly 1.
            const std::uint32_t grey = (y * 64 + x) % 2 == 0 ? 64 : 127;
            EXPECT_EQ(pixel, 0xFF000000u + grey * 0x010101u) << x << "," << y;
        }
    EXPECT_EQ(joints, 4 * 64 + 60 + 4 * 15) << "four rows, the rest of the left column, four upright joints";
}

TEST_F(NoiseImages, TileAfterTheBlurIsOpaqueGreyWithBlueNotAboveRed) {
    const SoftwareImage tile = makeTileImage(true);
    std::set<std::uint32_t> reds;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t pixel = getPixel(tile, x, y);
            EXPECT_EQ(alphaOf(pixel), 255u) << x << "," << y;
            EXPECT_EQ(redOf(pixel), greenOf(pixel)) << x << "," << y;
            EXPECT_LE(blueOf(pixel), redOf(pixel)) << x << "," << y;
            EXPECT_LE(redOf(pixel), 127u);
            reds.insert(redOf(pixel));
        }
    EXPECT_LT(*reds.begin(), 64u) << "the joints darken their neighbours";
    EXPECT_GT(reds.size(), 20u);
    // The joint at (16, 8) is blurred with stones either side: neither joint colour nor bright.
    EXPECT_NE(getPixel(tile, 16, 8), 0xFF060600u);
    EXPECT_LT(redOf(getPixel(tile, 16, 8)), 100u);
}

TEST_F(NoiseImages, BackgroundIsOpaqueDarkGreenMirroredLeftToRight) {
    queueExtremes(64 * 64);
    const SoftwareImage background = makeBackgroundImage();
    EXPECT_TRUE(scripted().randoms.empty()) << "one draw per pixel";
    ASSERT_EQ(background.width, 64);
    ASSERT_EQ(background.height, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t pixel = getPixel(background, x, y);
            EXPECT_EQ(alphaOf(pixel), 255u);
            EXPECT_EQ(redOf(pixel), 0u);
            EXPECT_EQ(blueOf(pixel), 0u);
            EXPECT_GE(greenOf(pixel), 32u) << x << "," << y;
            EXPECT_LE(greenOf(pixel), 63u) << x << "," << y;
            EXPECT_EQ(pixel, getPixel(background, 63 - x, y)) << x << "," << y;
        }
    // Noise alternating 32 and 63 is blurred: the top-left corner averages
    // 32, 63, 63, 32 to 47, not one of the drawn values.
    EXPECT_EQ(greenOf(getPixel(background, 0, 0)), 47u);
}

TEST_F(NoiseImages, MakeTextureImagesFillsTheSlotsInOrderTileNoiseBeforeBackgroundNoise) {
    TextureImages images;
    makeTextureImages(images);
    resetScriptedPlatform();
    const SoftwareImage tile = makeTileImage(true);
    const SoftwareImage background = makeBackgroundImage();

    const TextureImages expected = {makeFontImage(), makeBodyImage(), makeHeadImage(), tile, background};
    auto whole = [](const SoftwareImage& image) { return std::tie(image.width, image.height, image.pixels); };
    for (int slot = 0; slot < textureSlotCount; ++slot) EXPECT_EQ(whole(images[slot]), whole(expected[slot])) << slot;
}

TEST_F(NoiseImages, KeptNoiseMakesTheDrawnPicturesAgainInEitherPaletteWithoutDrawing) {
    TextureImages drawn;
    makeTextureImages(drawn);
    resetScriptedPlatform();
    const TextureNoise noise = drawTextureNoise();
    queueExtremes(3);  // any draw from here on would take these
    TextureImages design;
    TextureImages contrast;
    makeTextureImages(contrast, noise, contrastPalette);
    makeTextureImages(design, noise, designPalette);
    EXPECT_EQ(scripted().randoms.size(), 3u) << "no draws";
    for (int slot = 0; slot < textureSlotCount; ++slot) {
        EXPECT_EQ(design[slot].pixels, drawn[slot].pixels) << "slot " << slot;
        // The font and the grass are the same in both palettes.
        const bool shared = slot == fontSlot || slot == backgroundSlot;
        EXPECT_EQ(contrast[slot].pixels == design[slot].pixels, shared) << "slot " << slot;
    }
}

TEST_F(NoiseImages, EachPaletteRunsItsNoiseFromItsLowToItsHighColourAndColoursTheSnakeAndJoints) {
    for (const Palette* palette : {&designPalette, &contrastPalette}) {
        SCOPED_TRACE(palette == &designPalette ? "design" : "contrast");
        std::vector<std::uint8_t> extremes(std::size_t{64} * 64);
        for (std::size_t i = 0; i < extremes.size(); ++i) extremes[i] = i % 2 == 0 ? 0 : 63;
        const SoftwareImage tile = makeTileImage(extremes, *palette, false);
        for (auto [x, y] : {std::pair{2, 2}, {3, 2}, {16, 8}, {40, 63}})
            EXPECT_EQ(getPixel(tile, x, y), onJoint(x, y)           ? palette->joint
                                            : (y * 64 + x) % 2 == 0 ? palette->stoneLow
                                                                    : palette->stoneHigh)
                << x << "," << y;
        // Level 31 is the grass's highest: a flat field stays flat through the blur.
        const SoftwareImage grass = makeBackgroundImage(std::vector<std::uint8_t>(std::size_t{64} * 64, 31), *palette);
        EXPECT_EQ(getPixel(grass, 10, 10), palette->grassHigh);
        EXPECT_EQ(getPixel(makeBodyImage(*palette), 32, 32), palette->snake);
        EXPECT_EQ(getPixel(makeHeadImage(*palette), 20, 32), palette->snake);
    }
}

}  // namespace
