// Texture upload, the bitmap font and the title screen on a real Mesa context,
// read back from the window's back buffer.
#include <gtest/gtest.h>

#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "gl/gl_probe.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/projection_2d.h"
#include "render/texture_images.h"
#include "render/title_screen.h"

namespace {

// A backdrop no text colour of the game uses, so every changed pixel shows.
constexpr Rgba backdrop{51, 102, 153, 255};

bool same(Rgba a, Rgba b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

struct Box {
    int left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;  // right and top exclusive
    bool empty() const { return right < 0; }
    void add(int x, int y) {
        left = std::min(left, x);
        bottom = std::min(bottom, y);
        right = std::max(right, x + 1);
        top = std::max(top, y + 1);
    }
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "x " << box.left << ".." << box.right << ", y " << box.bottom << ".." << box.top;
}

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

    // Draws in the title screen's projection and reads the whole window back.
    Readback drawAndRead(const std::string& text, float x, float y, float r, float g, float b) {
        clearToBackdrop();
        pushOrtho2D(1024, 768);
        drawText(text, font.texture, font.listBase, x, y, 0.0f, r, g, b);
        popOrtho2D();
        glFinish();
        return readPixels(0, 0, 1024, 768);
    }

    static Box changedPixels(const Readback& image) {
        Box box;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (!same(image.at(x, y), backdrop)) box.add(x, y);
        return box;
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

// Code 219 is a full block, so its quad's coverage shows exactly.
TEST_F(TextDrawing, ALineOfNCharactersCoversFromXMinus8For16NAndFromYMinus8ToYPlus8) {
    struct Case {
        int count;
        float x, y;
    };
    for (Case c : {Case{1, 100.0f, 200.0f}, Case{5, 517.0f, 413.0f}, Case{3, 8.0f, 760.0f}}) {
        SCOPED_TRACE("n = " + std::to_string(c.count) + " at " + std::to_string(c.x) + ", " + std::to_string(c.y));
        const Readback image = drawAndRead(std::string(c.count, '\xDB'), c.x, c.y, 1.0f, 1.0f, 0.0f);
        const Box box = changedPixels(image);
        const int left = static_cast<int>(c.x) - 8;
        const int bottom = static_cast<int>(c.y) - 8;
        EXPECT_EQ(box.left, left) << box;
        EXPECT_EQ(box.right, left + 16 * c.count) << box;
        EXPECT_EQ(box.bottom, bottom) << box;
        EXPECT_EQ(box.top, bottom + 16) << box;
        int notYellow = 0;
        for (int y = box.bottom; y < box.top; ++y)
            for (int x = box.left; x < box.right; ++x) notYellow += !same(image.at(x, y), Rgba{255, 255, 0, 255});
        EXPECT_EQ(notYellow, 0);
        if (notYellow || box.left != left) saveReadback(image, "text_coverage.ppm");
    }
}

// Each glyph pixel becomes a 2 x 2 block; ink takes the colour, the rest keeps the backdrop.
TEST_F(TextDrawing, CapitalAAndSmallAAreUprightSixteenApartWithTheBackdropBetweenStrokes) {
    const float penX = 300.0f, penY = 500.0f;
    const Readback image = drawAndRead("Aa", penX, penY, 1.0f, 1.0f, 0.0f);
    int wrong = 0, ink = 0;
    for (int glyph = 0; glyph < 2; ++glyph) {
        const int code = glyph == 0 ? 65 : 97;
        const int cellLeft = static_cast<int>(penX) - 8 + 16 * glyph;
        const int cellTop = static_cast<int>(penY) + 8;  // exclusive, y up
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) {
                const bool set = gfxPrimitivesFontdata[8 * code + j] & (0x80 >> i);
                ink += set;
                const Rgba expected = set ? Rgba{255, 255, 0, 255} : backdrop;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        const Rgba seen = image.at(cellLeft + 2 * i + dx, cellTop - 1 - 2 * j - dy);
                        if (!same(seen, expected)) ++wrong;
                    }
            }
    }
    ASSERT_GT(ink, 20);
    EXPECT_EQ(wrong, 0);
    const Box box = changedPixels(image);
    EXPECT_GE(box.left, static_cast<int>(penX) - 8) << box;
    EXPECT_LE(box.right, static_cast<int>(penX) + 24) << box;
    if (wrong) saveReadback(image, "text_glyphs.ppm");
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
        EXPECT_TRUE(changedPixels(image).empty()) << "an empty text draws nothing";
    }
    glDeleteTextures(1, &other);
}

INSTANTIATE_TEST_SUITE_P(EmptyAndNot, TextDrawingState, ::testing::Values(std::string(), std::string("Hi")),
                         [](const auto& info) { return info.param.empty() ? "EmptyText" : "TwoCharacters"; });

struct TitleLine {
    int length;
    int penX, penY;
    Box cell() const {
        Box box;
        box.add(penX - 8, penY - 8);
        box.add(penX - 8 + 16 * length - 1, penY + 7);
        return box;
    }
    bool contains(int x, int y) const {
        const Box c = cell();
        return x >= c.left && x < c.right && y >= c.bottom && y < c.top;
    }
};

const TitleLine titleLines[3] = {{21, 344, 384}, {22, 336, 364}, {23, 328, 344}};

TEST_F(TextDrawing, TitleScreenShowsThreeYellowLinesAndOnlyThemBeforeTheFirstGame) {
    clearToBackdrop();
    drawTitleScreen(font, false, 0);
    glFinish();
    const Readback image = readPixels(0, 0, 1024, 768);
    Box inLine[3];
    int stray = 0, offColour = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            const Rgba p = image.at(x, y);
            if (same(p, Rgba{0, 0, 0, 255})) continue;
            if (!same(p, Rgba{255, 255, 0, 255})) ++offColour;
            bool placed = false;
            for (int line = 0; line < 3; ++line)
                if (titleLines[line].contains(x, y)) {
                    inLine[line].add(x, y);
                    placed = true;
                }
            if (!placed) ++stray;
        }
    EXPECT_EQ(stray, 0) << "ink outside the three lines (or the backdrop was not cleared)";
    EXPECT_EQ(offColour, 0);
    for (int line = 0; line < 3; ++line) {
        const Box cell = titleLines[line].cell();
        ASSERT_FALSE(inLine[line].empty()) << "line " << line + 1;
        // Glyphs leave a little room in their cells; the ink still reaches close to both ends.
        EXPECT_LE(inLine[line].left - cell.left, 8) << "line " << line + 1 << ": " << inLine[line];
        EXPECT_LE(cell.right - inLine[line].right, 8) << "line " << line + 1 << ": " << inLine[line];
        EXPECT_LE(cell.top - inLine[line].top, 2) << "line " << line + 1 << ": " << inLine[line];
    }
    if (stray || offColour) saveReadback(image, "title_first.ppm");
}

TEST_F(TextDrawing, AfterAGameTheFourthLinePulsesRedAndIsCentredOnTheOthers) {
    for (int score : {1, 12345}) {
        SCOPED_TRACE("score " + std::to_string(score));
        const std::string line = "Previous score " + std::to_string(score);
        const int length = static_cast<int>(line.size());
        const TitleLine fourth{length, 512 - 8 * length, 324};
        const double before = readClock();
        drawTitleScreen(font, true, score);
        const double after = readClock();
        glFinish();
        const Readback image = readPixels(0, 0, 1024, 768);

        // The red the frame may have used, over the time it took to draw.
        double lowest = 1.0, highest = 0.0;
        for (int step = 0; step <= 200; ++step) {
            const double t = before + (after - before) * step / 200.0;
            const double red = 0.5 + 0.25 * std::sin(20.0 * t);
            lowest = std::min(lowest, red);
            highest = std::max(highest, red);
        }
        Box red;
        int wrongRed = 0, yellowInside = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) {
                const Rgba p = image.at(x, y);
                if (p.r == 0 || p.g != 0) {
                    if (fourth.contains(x, y) && p.g != 0) ++yellowInside;
                    continue;
                }
                red.add(x, y);
                if (p.b != 0 || p.r < lowest * 255.0 - 1.5 || p.r > highest * 255.0 + 1.5) ++wrongRed;
            }
        EXPECT_EQ(wrongRed, 0) << "red between " << lowest * 255 << " and " << highest * 255;
        EXPECT_EQ(yellowInside, 0);
        ASSERT_FALSE(red.empty());
        const Box cell = fourth.cell();
        EXPECT_GE(red.left, cell.left) << red;
        EXPECT_LE(red.left - cell.left, 8) << red;
        EXPECT_LE(red.right, cell.right) << red;
        EXPECT_LE(cell.right - red.right, 8) << red;
        EXPECT_GE(red.bottom, cell.bottom) << red;
        EXPECT_LE(red.top, cell.top) << red;
        if (wrongRed) saveReadback(image, "title_after_game.ppm");
    }
}

TEST_F(TextDrawing, AKeptBestScoreIsAWhiteLineCentredUnderThePreviousScore) {
    clearToBackdrop();
    const std::string line = "Best score 987";
    const int length = static_cast<int>(line.size());
    const TitleLine best{length, 512 - 8 * length, 304};
    drawTitleScreen(font, false, 0, 987);
    glFinish();
    const Readback image = readPixels(0, 0, 1024, 768);
    Box white;
    int whiteOutside = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            if (!same(image.at(x, y), Rgba{255, 255, 255, 255})) continue;
            white.add(x, y);
            if (!best.contains(x, y)) ++whiteOutside;
        }
    EXPECT_EQ(whiteOutside, 0);
    ASSERT_FALSE(white.empty());
    const Box cell = best.cell();
    EXPECT_LE(white.left - cell.left, 8) << white;
    EXPECT_LE(cell.right - white.right, 8) << white;
    EXPECT_LE(cell.top - white.top, 2) << white;
    if (whiteOutside) saveReadback(image, "title_best_score.ppm");
}

TEST_F(TextDrawing, WithSoundTurnedOffAYellowReminderOfMSitsUnderTheScoreLines) {
    const TitleLine reminder{20, 352, 284};  // "Press M for sound..."
    const TitleLine best{14, 512 - 8 * 14, 304};
    for (const bool soundTurnedOff : {false, true}) {
        clearToBackdrop();
        drawTitleScreen(font, true, 12345, 987, soundTurnedOff);
        glFinish();
        const Readback image = readPixels(0, 0, 1024, 768);
        Box ink;
        int strayYellow = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) {
                if (!same(image.at(x, y), Rgba{255, 255, 0, 255})) continue;
                if (reminder.contains(x, y) && !best.contains(x, y)) {
                    ink.add(x, y);
                } else if (!titleLines[0].contains(x, y) && !titleLines[1].contains(x, y) &&
                           !titleLines[2].contains(x, y)) {
                    ++strayYellow;
                }
            }
        EXPECT_EQ(strayYellow, 0) << "yellow outside the title lines and the reminder";
        EXPECT_EQ(ink.empty(), !soundTurnedOff) << "the reminder shows exactly while sound is off";
        if (strayYellow) saveReadback(image, "title_sound_off.ppm");
        if (ink.empty()) continue;
        const Box cell = reminder.cell();
        EXPECT_LE(ink.left - cell.left, 8) << ink;
        EXPECT_LE(cell.right - ink.right, 8) << ink;
        EXPECT_LE(cell.top - ink.top, 2) << ink;
    }
}

}  // namespace
