// The board target, the flat projection and the board pass on a real Mesa
// context, read back from the board target.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/framebuffer_api.h"
#include "render/projection_2d.h"
#include "render/texture_images.h"
#include "state/play_state.h"

// The board pass on a real Mesa context, read back from the board target.
// Plain-coloured textures stand in for the game's pictures so that every
// drawn thing can be told apart by its colour.
namespace {

constexpr std::uint32_t grassGreen = 0x00A000FFu;
constexpr std::uint32_t stoneGrey = 0x808080FFu;
constexpr std::uint32_t bodyBlue = 0x0000FFFFu;
constexpr std::uint32_t headRed = 0xFF0000FFu;
constexpr std::uint32_t eyeYellow = 0xFFFF00FFu;

bool isGreen(Rgba p) { return near(p.r, 0) && near(p.g, 0xA0) && near(p.b, 0); }
bool isGrey(Rgba p) { return near(p.r, 0x80) && near(p.g, 0x80) && near(p.b, 0x80); }
bool isBlue(Rgba p) { return p.b > 200 && p.r < 60 && p.g < 60; }
bool isRed(Rgba p) { return p.r > 200 && p.g < 60 && p.b < 60; }
bool isYellow(Rgba p) { return p.r > 200 && p.g > 200 && p.b < 60; }

TextureSet plainTextures() {
    TextureSet set;
    set.names[fontSlot] = realFont().texture;
    set.names[bodySlot] = makeSolidTexture(bodyBlue);
    // Left half red, right half yellow: the +x side stands for the eyes.
    set.names[headSlot] = makeTexture(2, 1, {headRed, eyeYellow});
    set.names[tileSlot] = makeSolidTexture(stoneGrey);
    set.names[backgroundSlot] = makeSolidTexture(grassGreen);
    return set;
}

void deleteTextures(TextureSet& set) {
    for (int slot = bodySlot; slot < textureSlotCount; ++slot) glDeleteTextures(1, &set.names[slot]);
}

// The vertical run of pixels of a kind through (x, y).
template <class Pred>
int runHeight(const Readback& board, int x, int y, Pred kind) {
    if (!kind(board.at(x, y))) return 0;
    int top = y, bottom = y;
    while (top + 1 < board.height && kind(board.at(x, top + 1))) ++top;
    while (bottom > 0 && kind(board.at(x, bottom - 1))) --bottom;
    return top - bottom + 1;
}

class BoardPass : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
        textures = plainTextures();
        play.frameTime = 0.0;  // keeps any running pulse where the test put it
        play.food.x = 450.0f;
        play.food.y = 60.0f;
        play.food.value = 3;
    }
    void TearDown() override {
        unbindBoardTarget();
        deleteTextures(textures);
        releaseBoardTarget(target);
    }
    Readback draw(const std::string& name) {
        runBoardPass(play, target, 0, textures, realFont());
        Readback board = readPixels(0, 0, 512, 256);
        lastName = name;
        return board;
    }
    void keepOnFailure(const Readback& board) {
        if (::testing::Test::HasFailure()) saveReadback(board, "board_pass_" + lastName + ".ppm");
    }

    BoardTarget target;
    TextureSet textures;
    PlayState play;
    std::string lastName;
};

TEST_F(BoardPass, ANewGameShowsTheHeadAloneOnGrassBetweenTwoRowsOfStone) {
    play.snake = snakeAt({{256.0f, 128.0f}, {256.0f, 128.0f}});
    Readback board = draw("new_game");

    int red = 0, blue = 0, minX = 512, maxX = -1, minY = 256, maxY = -1;
    int badTiles = 0, badEdgeOfTiles = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x) {
            Rgba p = board.at(x, y);
            if (isBlue(p)) ++blue;
            if (isRed(p) || isYellow(p)) {
                ++red;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
            if ((y < 16 || y >= 240) && !isGrey(p)) ++badTiles;
            if ((y == 16 || y == 239) && !isGreen(p)) ++badEdgeOfTiles;
        }
    EXPECT_EQ(blue, 0) << "a new game has no body stretch";
    EXPECT_EQ(red, 16 * 16) << "four head quads on top of each other";
    EXPECT_EQ(minX, 248);
    EXPECT_EQ(maxX, 263);
    EXPECT_EQ(minY, 120);
    EXPECT_EQ(maxY, 135);
    EXPECT_EQ(badTiles, 0) << "stone rows cover y 0-16 and 240-256 across the whole width";
    EXPECT_EQ(badEdgeOfTiles, 0) << "and no further";
    EXPECT_TRUE(isGreen(board.at(100, 128)));
    keepOnFailure(board);
}

TEST_F(BoardPass, SegmentsNearAnEdgeAreDrawnAgainOneBoardWidthAway) {
    struct Case {
        float x;
        int firstRed, lastRed;          // the drawing itself, clipped to the board
        int copyFirstRed, copyLastRed;  // its copy, -1 when none shows
    };
    const Case cases[] = {
        {5.0f, 0, 12, 509, 511},     // copy at 517
        {508.0f, 500, 511, 0, 3},    // copy at -4
        {256.0f, 248, 263, -1, -1},  // no copy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("segment at x = " + std::to_string(c.x));
        play.snake = snakeAt({{c.x, 100.0f}, {c.x, 100.0f}});
        Readback board = draw("wrap_" + std::to_string(static_cast<int>(c.x)));
        for (int x = 0; x < 512; ++x) {
            const bool expected = (x >= c.firstRed && x <= c.lastRed) || (x >= c.copyFirstRed && x <= c.copyLastRed);
            const Rgba p = board.at(x, 100);
            EXPECT_EQ(isRed(p) || isYellow(p), expected) << "at x = " << x;
        }
        keepOnFailure(board);
    }
}

TEST_F(BoardPass, AStretchAcrossTheSeamIsDrawnBesideItsSegmentAndNotAcrossTheBoard) {
    // The head has gone up from x; the stretch behind it reaches back over
    // the seam to the segment at behindX, and is drawn beside x instead.
    struct Case {
        float x, behindX;
        int blueFrom, blueTo, copyFrom, copyTo;  // -1 when no copy shows
        const char* what;
    };
    const Case cases[] = {
        {16.0f, 526.0f, 5, 23, -1, -1, "rightward: quads at 13 to 16 reach from 5 to 24"},
        {6.0f, 516.0f, 0, 13, 507, 511, "rightward: quads at 3 to 6, and their copy at 515 to 518"},
        {490.0f, -10.0f, 482, 500, -1, -1, "leftward: quads at 493 down to 490 reach from 482 to 501"},
        {506.0f, -4.0f, 498, 511, 0, 4, "leftward: quads at 509 to 506, and their copy at -3 to -6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        play.snake = snakeAt({{c.x, 200.0f}, {c.x, 128.0f}, {c.behindX, 128.0f}});
        Readback board = draw("seam_" + std::to_string(static_cast<int>(c.x)));
        for (int x = 0; x < 512; ++x) {
            const bool blue = (x >= c.blueFrom && x <= c.blueTo) || (x >= c.copyFrom && x <= c.copyTo);
            EXPECT_TRUE(blue ? isBlue(board.at(x, 128)) : isGreen(board.at(x, 128))) << "x = " << x;
        }
        keepOnFailure(board);
    }
}

// Where the narrow place falls along the body, and how wide it is, the kept
// pictures show; only the last step, at the head, is seen here.
TEST_F(BoardPass, AtTheEndOfThePulseTheNarrowPlaceReachesTheHead) {
    // Eleven segments 40 apart along y = 128, head at 440 on the right.
    play.snake = snakeAt({{440, 128},
                          {400, 128},
                          {360, 128},
                          {320, 128},
                          {280, 128},
                          {240, 128},
                          {200, 128},
                          {160, 128},
                          {120, 128},
                          {80, 128},
                          {40, 128}});
    auto headRun = [](const Readback& board) {
        return runHeight(board, 430, 128, [](Rgba p) { return isRed(p) || isYellow(p); });
    };
    play.reversalPulse = 49.0f;
    Readback board = draw("pulse_49");
    EXPECT_EQ(headRun(board), 16);
    // Only at exactly 50 does it reach the head: quads of half-side 2 at 410, 420, 430 and 440.
    play.reversalPulse = 50.0f;
    board = draw("pulse_50");
    EXPECT_EQ(headRun(board), 4);
    keepOnFailure(board);
}

TEST_F(BoardPass, TheHeadIsTurnedByItsAngleAndTheBodyIsScaled) {
    play.snake = snakeAt({{400, 128}, {300, 128}, {200, 128}}, 0.5f);
    struct Case {
        int angle;
        int eyeX, eyeY, backX, backY;  // where the yellow and the red half lie
    };
    const Case cases[] = {
        {0, 404, 128, 396, 128}, {90, 400, 132, 400, 124}, {180, 396, 128, 404, 128}, {270, 400, 124, 400, 132}};
    for (const Case& c : cases) {
        SCOPED_TRACE("headAngle " + std::to_string(c.angle));
        play.headAngle = c.angle;
        Readback board = draw("head_" + std::to_string(c.angle));
        EXPECT_TRUE(isYellow(board.at(c.eyeX, c.eyeY)));
        EXPECT_TRUE(isRed(board.at(c.backX, c.backY)));
        // Stretch 1 runs from 200 to 300 with quads at 225, 250, 275, 300 of half-side 8 x 0.5.
        EXPECT_EQ(runHeight(board, 250, 128, isBlue), 8) << "body scaled by 0.5";
        EXPECT_TRUE(isGreen(board.at(237, 128))) << "gap between scaled quads";
        // The head's stretch is not scaled.
        EXPECT_EQ(runHeight(board, 350, 128, [](Rgba p) { return isRed(p) || isYellow(p); }), 16);
        keepOnFailure(board);
    }
}

TEST_F(BoardPass, TheFoodValueIsDrawnAsOneGlyphCentredOnTheFood) {
    play.snake = snakeAt({{256, 128}, {256, 128}});
    play.food.x = 100.0f;
    play.food.y = 100.0f;
    for (int value : {1, 7}) {
        SCOPED_TRACE("value " + std::to_string(value));
        play.food.value = value;
        Readback board = draw("food_" + std::to_string(value));
        const std::string digit(1, static_cast<char>('0' + value));
        int wrong = 0;
        for (int y = 80; y < 120; ++y)
            for (int x = 80; x < 120; ++x) {
                const bool ink = textInkAt(digit, 100, 100, x, y);
                // The ink is grey p, p, p: never the grass colour, whatever the flicker.
                const Rgba p = board.at(x, y);
                if (ink == isGreen(p)) ++wrong;
                if (ink && !(p.r == p.g && p.g == p.b)) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        keepOnFailure(board);
    }
}

// Run with MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object: the board is
// drawn in the corner of the back buffer and copied into a texture of its own.
TEST(WithoutFramebufferObjectBoardPass, TheBoardIsCopiedWithItsMipmapsAndShownOnTheCylinder) {
    ASSERT_EQ(framebufferApi.glBindFramebufferEXT, nullptr) << "run with the extension removed";
    const std::uint32_t copy = createBoardCopyTexture(512, 256);
    ASSERT_NE(copy, 0u);
    TextureSet textures = plainTextures();
    BoardTarget none;
    PlayState play;
    play.snake = snakeAt({{256, 128}, {256, 128}});
    play.viewX = -256.0f;
    play.viewY = -128.0f;
    play.food.x = 450.0f;
    play.food.y = 60.0f;
    play.food.value = 3;
    LightParams light;
    setUpLight(light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
               {0.0f, 0.0f, 50.0f, 1.0f});
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);

    // Two frames, so the second board pass runs on the depth buffer and the
    // state that a cylinder pass leaves behind.
    for (int frame = 0; frame < 2; ++frame) {
        runBoardPass(play, none, copy, textures, realFont());
        EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{0, 0, 1024, 768}));
        runCylinderPass(play, copy, 256, light, realFont());
    }

    glBindTexture(GL_TEXTURE_2D, copy);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    Readback level0{512, 256, std::vector<std::uint8_t>(std::size_t{512} * 256 * 4)};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level0.rgba.data());
    EXPECT_TRUE(isRed(level0.at(256, 128)) || isYellow(level0.at(256, 128)));
    EXPECT_TRUE(isGrey(level0.at(30, 8)));
    EXPECT_TRUE(isGreen(level0.at(30, 60)));
    EXPECT_TRUE(isGrey(level0.at(300, 250)));
    // Level 3 is 64 x 32: one texel per 8 x 8 board pixels.
    Readback level3{64, 32, std::vector<std::uint8_t>(std::size_t{64} * 32 * 4)};
    glGetTexImage(GL_TEXTURE_2D, 3, GL_RGBA, GL_UNSIGNED_BYTE, level3.rgba.data());
    EXPECT_TRUE(isGrey(level3.at(10, 0)));
    EXPECT_TRUE(isGreen(level3.at(10, 8)));
    EXPECT_TRUE(isGrey(level3.at(10, 31)));
    if (::testing::Test::HasFailure()) saveReadback(level0, "board_copy_level0.ppm");

    // The window shows the head at its centre.
    Readback window = readPixels(0, 0, 1024, 768);
    const Rgba centre = window.at(512, 384);
    EXPECT_GT(centre.r, 2 * centre.b) << "the head (red and yellow) faces the viewer";
    int greenish = 0;
    for (int x = 400; x < 624; ++x) {
        const Rgba p = window.at(x, 300);
        if (p.g > 2 * p.r && p.g > 2 * p.b) ++greenish;
    }
    EXPECT_GT(greenish, 200) << "grass across the front of the cylinder";
    if (::testing::Test::HasFailure()) saveReadback(window, "board_copy_window.ppm");
    deleteTextures(textures);
    glDeleteTextures(1, &copy);
}

}  // namespace

// The board target and the flat projection on a real Mesa context.
namespace board_target {

namespace {

GLint boundFramebuffer() {
    GLint name = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &name);
    return name;
}

// Neither shows in the pictures of these tests: a texture too high, whose
// lower half alone the passes fill, and the target left bound, which would
// take the title drawn after start-up.
TEST(BoardTarget, IsA512By256TextureAndTheWindowIsBoundAgain) {
    ASSERT_NE(framebufferApi.glBindFramebufferEXT, nullptr);
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    EXPECT_EQ(boundFramebuffer(), 0);

    GLint textureWidth = 0, textureHeight = 0;
    glBindTexture(GL_TEXTURE_2D, target.colorTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &textureWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &textureHeight);
    EXPECT_EQ(textureWidth, 512);
    EXPECT_EQ(textureHeight, 256);
    releaseBoardTarget(target);
}

TEST(BoardTarget, BindAndUnbindSetTheirViewports) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    bindBoardTarget(target);
    EXPECT_EQ(boundFramebuffer(), static_cast<GLint>(target.framebuffer));
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{0, 0, 512, 256}));
    unbindBoardTarget();
    EXPECT_EQ(boundFramebuffer(), 0);
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{0, 0, 1024, 768}));
    releaseBoardTarget(target);
}

TEST(BoardTarget, AQuadOverTheWholeProjectionFillsTheTargetExactly) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(10.0f, 0, 0, 1);  // something for the pop to put back
    const auto projectionBefore = currentMatrix(GL_PROJECTION_MATRIX);
    const auto modelviewBefore = currentMatrix(GL_MODELVIEW_MATRIX);

    bindBoardTarget(target);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    pushOrtho2D(512, 256);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(512, 0);
    glVertex2f(512, 256);
    glVertex2f(0, 256);
    glEnd();
    // A small marker in the bottom-left corner shows where (0, 0) is.
    glColor3f(0, 1, 0);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(4, 0);
    glVertex2f(4, 4);
    glVertex2f(0, 4);
    glEnd();
    std::array<GLfloat, 16> identity{};
    identity[0] = identity[5] = identity[10] = identity[15] = 1.0f;
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), identity) << "the flat projection sits on the model-view";
    popOrtho2D();

    Readback board = readPixels(0, 0, 512, 256);
    unbindBoardTarget();
    int wrong = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x) {
            Rgba p = board.at(x, y);
            bool marker = x < 4 && y < 4;
            if (marker ? (p.g != 255 || p.r != 0) : (p.r != 255 || p.g != 0)) ++wrong;
        }
    if (wrong) saveReadback(board, "board_target_fill.ppm");
    EXPECT_EQ(wrong, 0) << "pixels not covered as expected (see board_target_fill.ppm)";

    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projectionBefore);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), modelviewBefore);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glLoadIdentity();
    releaseBoardTarget(target);
}

// Run with MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object.
TEST(WithoutFramebufferObject, CreationFailsAndLeavesEverythingAlone) {
    ASSERT_EQ(framebufferApi.glBindFramebufferEXT, nullptr) << "run with the extension removed";
    GLint textureBefore = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &textureBefore);
    BoardTarget target;
    EXPECT_FALSE(createBoardTarget(target, 512, 256, false));
    EXPECT_EQ(target.framebuffer, 0u);
    EXPECT_EQ(target.colorTexture, 0u);
    EXPECT_EQ(target.depthBuffer, 0u);
    EXPECT_EQ(target.width, 0u);
    EXPECT_EQ(target.height, 0u);
    GLint textureAfter = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &textureAfter);
    EXPECT_EQ(textureAfter, textureBefore) << "no texture was made or bound";

    glViewport(3, 4, 100, 50);
    bindBoardTarget(target);
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{3, 4, 100, 50}));
    unbindBoardTarget();
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{3, 4, 100, 50}));
    glViewport(0, 0, 1024, 768);
    releaseBoardTarget(target);  // nothing to delete, and no missing entry is called
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace

}  // namespace board_target
