// The renderer's pieces that run without GL: the software image, the
// procedural pictures, numbered labels, the frame's viewport, the display
// probe, and the contrast maths the palette checks use.
#include <gtest/gtest.h>

#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/frame_viewport.h"
#include "render/framebuffer_api.h"
#include "render/software_image.h"
#include "render/texture_images.h"
#include "support/colour_contrast.h"
#include "support/scripted_platform.h"

// The five procedural pictures, checked in the software images before upload.
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

// The software image and its drawing operations, without GL.
namespace software_image {

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

}  // namespace software_image

// Labels with numbers are built in a fixed buffer; the ends of the range must fit.
namespace numbered_text {

namespace {

TEST(NumberedText, LabelsTakeTheNumberInDecimalWithoutPadding) {
    EXPECT_EQ(textWithNumber("", 7).view(), "7");
    EXPECT_EQ(textWithNumber("Previous score ", INT_MIN).view(), "Previous score -2147483648");
    EXPECT_EQ(textWithNumber("Your score ", INT_MAX).view(), "Your score 2147483647");
}

TEST(NumberedText, AnOverlongLabelIsCutSoTheNumberStillFits) {
    const std::string label(100, 'x');
    const std::string text(textWithNumber(label, INT_MIN).view());
    EXPECT_EQ(text.substr(text.size() - 11), "-2147483648");
    EXPECT_EQ(text.find_first_not_of('x'), text.size() - 11);
}

}  // namespace

}  // namespace numbered_text

// Where the 1024 x 768 picture goes in a window or screen of another size.
namespace frame_viewport {

namespace {

void expectViewport(int width, int height, int x, int y, int w, int h) {
    const FrameViewport view = letterboxViewport(width, height);
    EXPECT_EQ(view.x, x) << width << " x " << height;
    EXPECT_EQ(view.y, y) << width << " x " << height;
    EXPECT_EQ(view.width, w) << width << " x " << height;
    EXPECT_EQ(view.height, h) << width << " x " << height;
}

TEST(FrameViewport, TheLargestCentred4By3RectangleThatFits) {
    expectViewport(1024, 768, 0, 0, 1024, 768);
    expectViewport(1280, 1024, 0, 32, 1280, 960);    // bars above and below
    expectViewport(1920, 1080, 240, 0, 1440, 1080);  // bars left and right
    expectViewport(1200, 600, 200, 0, 800, 600);
    expectViewport(512, 384, 0, 0, 512, 384);
    expectViewport(0, 768, 0, 0, 0, 0);  // a minimised window
    expectViewport(1024, -1, 0, 0, 0, 0);
    // Sizes whose products overflow 32 bits still come out right.
    expectViewport(2000000, 1500000, 0, 0, 2000000, 1500000);

    for (int width = 1; width <= 700; width += 3) {
        for (int height = 1; height <= 700; height += 7) {
            const FrameViewport view = letterboxViewport(width, height);
            ASSERT_TRUE(view.width == width || view.height == height) << width << " x " << height;
            ASSERT_LE(view.x + view.width, width);
            ASSERT_LE(view.y + view.height, height);
            ASSERT_GE(view.x, 0);
            ASSERT_GE(view.y, 0);
            // Centred to the pixel, and 4:3 to within rounding of one side.
            ASSERT_LE(std::abs(view.x - (width - view.x - view.width)), 1);
            ASSERT_LE(std::abs(view.y - (height - view.y - view.height)), 1);
            ASSERT_LE(std::abs(view.width * 3 - view.height * 4), 4) << width << " x " << height;
        }
    }
}

}  // namespace

}  // namespace frame_viewport

// The off-screen probe and the start-up display, against a scripted platform.
namespace display_probe {

namespace {

// Leaves no entry points loaded for the tests after it.
class Probe : public ::testing::Test {
protected:
    void TearDown() override { framebufferApi = FramebufferApi{}; }
};

// Each name on a line of its own with the space that ends it, then whether
// the off-screen extension is there (a longer name holding it counts); its
// entry points are looked up only then, each by its own name.
TEST_F(Probe, PrintsEachNameThenTheSupportLineAndLoadsTheEntriesOnlyWithTheExtension) {
    const std::vector<std::string> entries = {
        "glBindFramebufferEXT",      "glBindRenderbufferEXT",    "glCheckFramebufferStatusEXT",
        "glDeleteFramebuffersEXT",   "glDeleteRenderbuffersEXT", "glFramebufferRenderbufferEXT",
        "glFramebufferTexture2DEXT", "glGenFramebuffersEXT",     "glGenRenderbuffersEXT",
        "glGenerateMipmapEXT",       "glRenderbufferStorageEXT"};
    const struct {
        const char* extensions;
        std::vector<std::string> lines;
        bool supported;
    } cases[] = {
        {"GL_ARB_multitexture GL_EXT_framebuffer_object WGL_EXT_swap_control ",
         {"GL_ARB_multitexture \r\n", "GL_EXT_framebuffer_object \r\n", "WGL_EXT_swap_control \r\n",
          "GL_EXT_framebuffer_object is supported\r\n"},
         true},
        {"GL_ARB_one GL_EXT_framebuffer_object_plus",
         {"GL_ARB_one \r\n", "GL_EXT_framebuffer_object_plus\r\n", "GL_EXT_framebuffer_object is supported\r\n"},
         true},
        {"GL_ARB_multitexture GL_EXT_framebuffer_blit ",
         {"GL_ARB_multitexture \r\n", "GL_EXT_framebuffer_blit \r\n", "GL_EXT_framebuffer_object is NOT supported\r\n"},
         false},
        {"", {"GL_EXT_framebuffer_object is NOT supported\r\n"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extensions);
        resetScriptedPlatform();
        framebufferApi = FramebufferApi{};
        consoleChannel = openConsole();
        scripted().extensions = c.extensions;
        probeFramebufferSupport();
        EXPECT_EQ(scripted().consoleLines, c.lines);
        std::vector<std::string> lookedUp = scripted().lookedUp;
        std::sort(lookedUp.begin(), lookedUp.end());
        EXPECT_EQ(lookedUp, c.supported ? entries : std::vector<std::string>{});
        EXPECT_EQ(framebufferApi.glBindFramebufferEXT != nullptr, c.supported);
        EXPECT_EQ(framebufferApi.glGenerateMipmapEXT != nullptr, c.supported);
    }
}

TEST(DisplaySetUp, ADisplayThatCannotOpenEndsTheProgramWithStatusOne) {
    resetScriptedPlatform();
    scripted().displayOpens = false;
    try {
        setUpDisplay();
        FAIL() << "setUpDisplay went on without a display";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, 1);
    }
    EXPECT_TRUE(scripted().consoleLines.empty());
}

}  // namespace

}  // namespace display_probe

// The contrast maths the palette test and the screenshot tool share.
namespace colour_contrast {

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

}  // namespace colour_contrast
