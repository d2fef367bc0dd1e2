// Texture upload, the bitmap font and the title screen on a real Mesa context,
// read back from the window's back buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "gl/gl_probe.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/texture_images.h"
#include "render/title_screen.h"

namespace {

// A backdrop no text colour of the game uses, so every changed pixel shows.
constexpr Rgba backdrop{51, 102, 153, 255};

bool same(Rgba a, Rgba b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

class TextDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SoftwareImage image = makeFontImage();
        uploadTexture(font.texture, image);
        freeImage(image);
        buildFont(font.listBase, 16.0f, 16.0f, 8);
    }

    void SetUp() override {
        glViewport(0, 0, 1024, 768);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
    }

    void clearToBackdrop() {
        glClearColor(backdrop.r / 255.0f, backdrop.g / 255.0f, backdrop.b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }

    static Font font;
};

Font TextDrawing::font;

TEST_F(TextDrawing, UploadKeepsTheImageBgraBytesAsColoursMagnifiesLinearlyAndModulates) {
    SoftwareImage image = createImage(4, 2, 0x00000000u);
    setPixel(image, 0, 0, 0xFFB22222u);
    setPixel(image, 3, 1, 0x80102030u);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    std::uint32_t name = 0;
    uploadTexture(name, image);
    freeImage(image);
    ASSERT_NE(name, 0u);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(name));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    unsigned char rgba[4 * 2 * 4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    // Image row 0 is the first row of the texture (t = 0).
    EXPECT_EQ((std::array<int, 4>{rgba[0], rgba[1], rgba[2], rgba[3]}), (std::array<int, 4>{178, 34, 34, 255}));
    const unsigned char* last = rgba + std::size_t{1 * 4 + 3} * 4;
    EXPECT_EQ((std::array<int, 4>{last[0], last[1], last[2], last[3]}), (std::array<int, 4>{16, 32, 48, 128}));

    // Unlike the wrap, the minifying filter and the mipmaps, neither shows in
    // any picture of the board, so they are read back here.
    GLint magnify = 0;
    GLint mode = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnify);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ((std::array<GLint, 2>{magnify, mode}), (std::array<GLint, 2>{GL_LINEAR, GL_MODULATE}));

    GLuint texture = name;
    glDeleteTextures(1, &texture);
    glDisable(GL_TEXTURE_2D);
}

TEST_F(TextDrawing, BuildFontMakes256ListsAndLeavesTheModelViewIdentity) {
    ASSERT_NE(font.listBase, 0u);
    for (std::uint32_t k = 0; k < 256; ++k) ASSERT_TRUE(glIsList(font.listBase + k)) << k;
    std::uint32_t again = 0;
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);
    buildFont(again, 16.0f, 16.0f, 8);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    std::array<GLfloat, 16> identity{};
    identity[0] = identity[5] = identity[10] = identity[15] = 1.0f;
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), identity);
    EXPECT_NE(again, font.listBase) << "a second set of lists";
    glDeleteLists(again, 256);
}

class TextDrawingState : public TextDrawing, public ::testing::WithParamInterface<std::string> {};

TEST_P(TextDrawingState, LeavesBlendAndTextureOffAndTheFontTextureClampedNearest) {
    // Everything set the other way first.
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, font.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glBindTexture(GL_TEXTURE_2D, other);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    clearToBackdrop();
    drawText(GetParam(), font.texture, font.listBase, 512.0f, 384.0f, 0.0f, 1.0f, 0.5f, 0.25f);
    glFinish();

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // Unlike the binding, the blend function, the colour, the list base and
    // the pen's matrix, none of these shows in any picture drawn after the
    // text, so they are read back here.
    glBindTexture(GL_TEXTURE_2D, font.texture);
    std::array<GLint, 3> fontTexture{};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &fontTexture[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &fontTexture[1]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &fontTexture[2]);
    EXPECT_EQ(fontTexture, (std::array<GLint, 3>{GL_CLAMP, GL_CLAMP, GL_NEAREST})) << "wrap s, wrap t, minifying";
    GLint polygonModes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    EXPECT_EQ((std::array<GLint, 2>{polygonModes[0], polygonModes[1]}), (std::array<GLint, 2>{GL_FILL, GL_FILL}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    if (GetParam().empty()) {
        const Readback image = readPixels(0, 0, 1024, 768);
        int changed = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) changed += !same(image.at(x, y), backdrop);
        EXPECT_EQ(changed, 0) << "an empty text draws nothing";
    }
    glDeleteTextures(1, &other);
}

INSTANTIATE_TEST_SUITE_P(EmptyAndNot, TextDrawingState, ::testing::Values(std::string(), std::string("Hi")),
                         [](const auto& info) { return info.param.empty() ? "EmptyText" : "TwoCharacters"; });

// A line of the title: its text, the centre of its first glyph (y up) and
// its colour. Red pulses, so for red only the hue is fixed.
struct TitleLine {
    std::string text;
    int penX, penY;
    Rgba colour;
};

constexpr Rgba yellow{255, 255, 0, 255}, white{255, 255, 255, 255};
constexpr Rgba red{1, 0, 0, 255};  // stands for any red of the pulse
const TitleLine firstLines[] = {{"Tubewyrm on the drum!", 344, 384, yellow},
                                {"Press Space to play...", 336, 364, yellow},
                                {"Press Escape to exit...", 328, 344, yellow}};

struct TitleCase {
    const char* name;
    bool gamePlayed;
    int previousScore, bestScore;
    bool soundTurnedOff, noSoundOutput;
    std::vector<TitleLine> moreLines;  // below the first three
};

// The red of the previous score over the time the frame took to draw.
std::pair<double, double> pulseRedRange(double from, double to) {
    double lowest = 1.0, highest = 0.0;
    for (int step = 0; step <= 200; ++step) {
        const double red = 0.5 + 0.25 * std::sin(20.0 * (from + (to - from) * step / 200.0));
        lowest = std::min(lowest, red);
        highest = std::max(highest, red);
    }
    return {lowest * 255.0 - 1.5, highest * 255.0 + 1.5};
}

// Each glyph pixel becomes a 2 x 2 block; ink takes its line's colour, and
// every other pixel, between strokes too, keeps the backdrop.
TEST_F(TextDrawing, TheTitleShowsExactlyItsLinesGlyphByGlyph) {
    const TitleLine previous1{"Previous score 1", 384, 324, red}, previous12345{"Previous score 12345", 352, 324, red};
    const TitleLine best{"Best score 987", 400, 304, white};
    const TitleCase cases[] = {
        {"first title", false, 0, -1, false, false, {}},
        {"after a game", true, 1, -1, false, false, {previous1}},
        {"after a game, a long score", true, 12345, -1, false, false, {previous12345}},
        {"a kept best score", false, 0, 987, false, false, {best}},
        {"sound turned off",
         true,
         12345,
         987,
         true,
         false,
         {previous12345, best, {"Press M for sound...", 352, 284, yellow}}},
        {"no sound output", false, 0, -1, false, true, {{"No sound output found...", 320, 284, yellow}}},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TitleLine> lines(std::begin(firstLines), std::end(firstLines));
        lines.insert(lines.end(), c.moreLines.begin(), c.moreLines.end());
        // The title clears to whatever clear colour is set.
        glClearColor(backdrop.r / 255.0f, backdrop.g / 255.0f, backdrop.b / 255.0f, 1.0f);
        const double before = readClock();
        drawTitleScreen(font, c.gamePlayed, c.previousScore, c.bestScore, c.soundTurnedOff, c.noSoundOutput);
        const double after = readClock();
        glFinish();
        glClearColor(0, 0, 0, 0);
        const Readback image = readPixels(0, 0, 1024, 768);
        const auto [lowestRed, highestRed] = pulseRedRange(before, after);
        int wrong = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) {
                const Rgba p = image.at(x, y);
                const TitleLine* ink = nullptr;
                for (const TitleLine& line : lines)
                    if (textInkAt(line.text, line.penX, line.penY, x, y)) ink = &line;
                if (!ink)
                    wrong += !same(p, backdrop);
                else if (same(ink->colour, red))
                    wrong += p.g != 0 || p.b != 0 || p.r < lowestRed || p.r > highestRed;
                else
                    wrong += !same(p, ink->colour);
            }
        EXPECT_EQ(wrong, 0) << "pixels off the lines' glyphs or colours";
        if (wrong) saveReadback(image, std::string("title_") + std::to_string(&c - cases) + ".ppm");
    }
}

}  // namespace
