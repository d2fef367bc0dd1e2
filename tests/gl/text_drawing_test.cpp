// Text on a real Mesa context: texture upload, the bitmap font, the title
// screen (also after a game that really ended) and the "Best games" screen.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/best_games_flow.h"
#include "game/program.h"
#include "game/program_flow.h"
#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "render/font.h"
#include "render/texture_images.h"
#include "render/title_screen.h"
#include "rules/frame_rules.h"

// Texture upload, the bitmap font and the title screen on a real Mesa context,
// read back from the window's back buffer.
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

// The title after a game that really ended: its previous score is the upper
// index of the snake that died, whatever its length, and every picture of it,
// whatever red the score has pulsed to, shows the whole title.
namespace title_after_game {

namespace {

constexpr int previousScoreY = 324;

bool isRed(Rgba p) { return p.r >= 40 && p.g < 20 && p.b < 20; }

// Red ink that differs from "Previous score N" drawn with the first glyph's
// centre at (512 - 8n, 324).
int wrongRedPixels(const Readback& window, const std::string& line) {
    const int penX = 512 - 8 * static_cast<int>(line.size());
    int wrong = 0;
    for (int y = previousScoreY - 20; y < previousScoreY + 20; ++y)
        for (int x = 0; x < 1024; ++x) wrong += isRed(window.at(x, y)) != textInkAt(line, penX, previousScoreY, x, y);
    return wrong;
}

// Rows of the previous score's line, glyph cells and a margin.
bool inPulsingLine(int y) { return y >= previousScoreY - 10 && y < previousScoreY + 10; }

// Pixels of the title in one colour, within rows [from, to).
int pixelsIn(const Readback& window, int from, int to, Rgba colour) {
    int count = 0;
    for (int y = from; y < to; ++y)
        for (int x = 0; x < window.width; ++x) {
            const Rgba p = window.at(x, y);
            count += p.r == colour.r && p.g == colour.g && p.b == colour.b;
        }
    return count;
}

class TitleAfterAGame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createBoardTarget(program.boardTarget, 512, 256, false));
        program.font = realFont();
        for (int slot = 0; slot < textureSlotCount; ++slot)
            if (slot != fontSlot) program.textures.names[slot] = makeSolidTexture(0x808080FFu);
        program.textures.names[fontSlot] = program.font.texture;
        setUpLight(program.light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
                   {0.0f, 0.0f, 50.0f, 1.0f});
    }
    void TearDown() override {
        for (std::uint32_t& name : program.textures.names)
            if (name != program.font.texture) glDeleteTextures(1, &name);
        releaseBoardTarget(program.boardTarget);
    }

    // Four segments heading up just below the top stone row, the food far
    // off: frames of play, drawn, until the head runs into the edge.
    void playIntoTheTopEdge() {
        startGame(program);
        PlayState& play = program.play;
        play.snake = snakeAt({{256.0f, 234.0f}, {256.0f, 229.0f}, {256.0f, 224.0f}, {256.0f, 219.0f}});
        play.heading = {0.0f, 2.0f, 0.0f};
        play.headAngle = 90;
        play.movingHorizontally = false;
        play.movingVertically = true;
        play.food = {40.0f, 40.0f, 0.0f, 5};
        play.bestScore = 1000;  // shown on the title in white
        for (int frame = 0; frame < 100; ++frame) {
            play.frameTime = 1.0 / 60.0;
            play.playTime += play.frameTime;
            if (!advancePlayFrame(play)) return;
            runBoardPass(play, program.boardTarget, 0, program.textures, program.font);
            runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
            present();
        }
        FAIL() << "the snake never reached the top edge";
    }

    Program program;
};

TEST_F(TitleAfterAGame, EveryPictureOfThePulseShowsTheWholeTitleWithTheUpperIndexOfTheSnakeThatDied) {
    playIntoTheTopEdge();
    ASSERT_EQ(program.play.snake.size(), 4u);
    // Pictures a little apart, each presented as the title presents them,
    // until the red has taken a few values.
    std::vector<Readback> pictures;
    std::set<int> reds;
    while (pictures.size() < 40 && (pictures.size() < 6 || reds.size() < 3)) {
        drawTitleFrame(program);
        glFinish();
        pictures.push_back(readPixels(0, 0, 1024, 768));
        int red = 0;
        for (int y = previousScoreY - 8; y < previousScoreY + 8; ++y)
            for (int x = 0; x < 1024; ++x)
                if (isRed(pictures.back().at(x, y))) red = std::max<int>(red, pictures.back().at(x, y).r);
        reds.insert(red);
        present();
        SDL_Delay(37);
    }
    EXPECT_GE(reds.size(), 3u) << "the previous score pulses";

    // The first picture holds the three yellow lines and the white best score.
    const Readback& first = pictures.front();
    const Rgba yellow{255, 255, 0, 255}, white{255, 255, 255, 255};
    for (const int lineY : {384, 364, 344})
        EXPECT_GT(pixelsIn(first, lineY - 8, lineY + 8, yellow), 200) << "the yellow line at y = " << lineY;
    EXPECT_GT(pixelsIn(first, 296, 312, white), 100) << "the best score";

    for (std::size_t n = 0; n < pictures.size(); ++n) {
        const int wrongRed = wrongRedPixels(pictures[n], "Previous score 3");
        EXPECT_EQ(wrongRed, 0) << "picture " << n;
        // Outside the pulsing line every later picture is the first again.
        int differing = 0;
        for (int y = 0; y < 768; ++y) {
            if (inPulsingLine(y)) continue;
            for (int x = 0; x < 1024; ++x) {
                const Rgba a = first.at(x, y), b = pictures[n].at(x, y);
                differing += a.r != b.r || a.g != b.g || a.b != b.b;
            }
        }
        EXPECT_EQ(differing, 0) << "picture " << n;
        if (wrongRed != 0 || differing != 0) saveReadback(pictures[n], "title_pulse_" + std::to_string(n) + ".ppm");
    }
}

}  // namespace

}  // namespace title_after_game

// The "Best games" screen drawn by the real renderer and read back once.
namespace best_games_screen {

namespace {

// Pixels of one colour in the 16 rows of the text line at y (pen y), left
// of x or from x on.
int pixelsIn(const Readback& window, int lineY, Rgba colour, bool leftOfRows = false) {
    constexpr int rowsLeft = 200;  // the rank column starts at x = 200
    int count = 0;
    for (int y = lineY - 8; y < lineY + 8; ++y)
        for (int x = leftOfRows ? 0 : rowsLeft; x < (leftOfRows ? rowsLeft : window.width); ++x) {
            const Rgba p = window.at(x, y);
            count += near(p.r, colour.r) && near(p.g, colour.g) && near(p.b, colour.b);
        }
    return count;
}

TEST(BestGamesScreen, DrawsEachRowTheChosenOneYellowAndMarkedOneWithoutItsWatchDim) {
    Program program;
    program.font = realFont();
    program.kept.table.entries = {
        {163, 1'767'225'600, 87.0, "a.twrec"}, {6, 1'767'312'000, 3.8, "b.twrec"}, {5, 1'767'398'400, 41.0, ""}};
    program.kept.watch = {Watch::offered, Watch::unchecked, Watch::refused};
    drawBestGamesFrame(program, 1, true, "Saved as /home/player/tubewyrm-6-2026-01-02-0000.twrec");
    glFinish();
    const Readback window = readPixels(0, 0, 1024, 768);

    const Rgba yellow{255, 255, 0, 255}, white{255, 255, 255, 255}, dim{89, 89, 89, 255}, black{0, 0, 0, 255};
    // The heading at y = 600, the rows 24 apart from 520 and the marker left
    // of them, the export's line (too wide for the rows) at 256, the keys at 208.
    EXPECT_GT(pixelsIn(window, 600, yellow), 100) << "the heading";
    EXPECT_GT(pixelsIn(window, 520, white), 300) << "the first row";
    EXPECT_GT(pixelsIn(window, 496, yellow), 300) << "the chosen row";
    EXPECT_GT(pixelsIn(window, 496, yellow, true), 10) << "its marker";
    EXPECT_EQ(pixelsIn(window, 520, black, true), 16 * 200) << "no marker by the first row";
    EXPECT_GT(pixelsIn(window, 472, dim), 300) << "the row without a recording";
    EXPECT_EQ(pixelsIn(window, 448, black), 16 * (1024 - 200)) << "no fourth row";
    EXPECT_GT(pixelsIn(window, 256, white, true), 10) << "where the export went";
    EXPECT_GT(pixelsIn(window, 208, yellow), 100) << "the keys";
    if (HasFailure()) saveReadback(window, "best_games_screen.ppm");
}

}  // namespace

}  // namespace best_games_screen
