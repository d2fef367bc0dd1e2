// The cylinder pass on a real Mesa context: where the board lands in the
// window, how the cylinder is lit and tipped, the score line, and a software
// renderer facing the tipped cylinder's open end.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/texture_images.h"
#include "state/play_state.h"

// The cylinder pass on a real Mesa context: where the board lands in the
// window, how the cylinder is lit and tipped, and the score line.
namespace {

constexpr std::uint32_t grassGreen = 0x00A000FFu;
constexpr std::uint32_t markBlue = 0x0000FFFFu;
constexpr std::uint32_t markRed = 0xFF0000FFu;
constexpr std::uint32_t markYellow = 0xFFFF00FFu;
constexpr std::uint32_t magenta = 0xFF00FFFFu;

// Lit colours keep their hue; these tell the marks apart on the cylinder.
bool blueish(Rgba p) { return p.b > 2 * p.r + 20 && p.b > 2 * p.g + 20; }
bool reddish(Rgba p) { return p.r > 2 * p.g + 20 && p.r > 2 * p.b + 20; }
bool yellowish(Rgba p) { return p.r > 2 * p.b + 20 && p.g > 2 * p.b + 20; }
bool black(Rgba p) { return p.r < 8 && p.g < 8 && p.b < 8; }

// A 512 x 256 board of grass with marks painted in by the caller.
struct Board {
    std::vector<std::uint32_t> texels = std::vector<std::uint32_t>(std::size_t{512} * 256, grassGreen);
    void columns(int from, int to, std::uint32_t colour) {
        for (int y = 0; y < 256; ++y)
            for (int x = from; x <= to; ++x) texels[static_cast<std::size_t>(y) * 512 + x] = colour;
    }
    void rows(int from, int to, std::uint32_t colour) {
        for (int y = from; y <= to; ++y)
            for (int x = 0; x < 512; ++x) texels[static_cast<std::size_t>(y) * 512 + x] = colour;
    }
};

// The centre of the first run of a kind along a window row, if any.
template <class Pred>
std::optional<double> runCentreInRow(const Readback& window, int y, int fromX, int toX, Pred kind) {
    for (int x = fromX; x < toX; ++x) {
        if (!kind(window.at(x, y))) continue;
        int end = x;
        while (end + 1 < toX && kind(window.at(end + 1, y))) ++end;
        return (x + end) / 2.0 + 0.5;
    }
    return std::nullopt;
}

// The centre of the first run of a kind met going from the window's middle row
// up (or down) a column: the near side of the cylinder, not the inside of its
// far wall that shows through an open end.
template <class Pred>
std::optional<double> runCentreFromMiddle(const Readback& window, int x, bool upward, Pred kind) {
    const int step = upward ? 1 : -1;
    for (int y = window.height / 2; y >= 0 && y < window.height; y += step) {
        if (!kind(window.at(x, y))) continue;
        int end = y;
        while (end + step >= 0 && end + step < window.height && kind(window.at(x, end + step))) end += step;
        return (y + end) / 2.0 + 0.5;
    }
    return std::nullopt;
}

class CylinderPass : public ::testing::Test {
protected:
    void SetUp() override {
        // What start-up leaves behind for the passes.
        setUpLight(light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
                   {0.0f, 0.0f, 50.0f, 1.0f});
        glEnable(GL_COLOR_MATERIAL);
        glDisable(GL_CULL_FACE);
        play.snake = snakeAt({{256, 128}, {256, 128}});
    }
    void TearDown() override {
        if (texture) glDeleteTextures(1, &texture);
    }
    Readback drawWith(const Board& board, float headX, float headY, const std::string& name) {
        if (!texture) {
            texture = makeTexture(512, 256, board.texels);
            // All levels, for the mipmapped filter the pass asks for.
            std::vector<std::uint8_t> bytes;
            for (std::uint32_t c : board.texels)
                for (int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(c >> shift));
            gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 512, 256, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        }
        play.viewX = -headX;
        play.viewY = -headY;
        runCylinderPass(play, texture, 256, light, realFont());
        Readback window = readPixels(0, 0, 1024, 768);
        shotName = "cylinder_" + name + ".ppm";
        return window;
    }
    void keepOnFailure(const Readback& window) {
        if (::testing::Test::HasFailure()) saveReadback(window, shotName);
    }

    LightParams light;
    PlayState play;
    GLuint texture = 0;
    std::string shotName;
};

TEST_F(CylinderPass, TheHeadsColumnFacesTheViewerAndBoardXGrowsToTheRight) {
    Board board;
    board.columns(254, 257, markBlue);
    board.columns(300, 303, markRed);
    Readback window = drawWith(board, 256.0f, 128.0f, "middle");

    const auto blue = runCentreInRow(window, 384, 0, 1024, blueish);
    ASSERT_TRUE(blue.has_value());
    EXPECT_NEAR(*blue, 512.0, 3.0) << "board x = 256 at the window's centre";
    const auto red = runCentreInRow(window, 384, 0, 1024, reddish);
    ASSERT_TRUE(red.has_value());
    EXPECT_GT(*red, *blue + 20.0) << "board x 300 to the right of 256";

    // Upright: the mark runs from the top of the window to the bottom.
    for (int y : {40, 200, 384, 560, 720})
        EXPECT_TRUE(runCentreInRow(window, y, 490, 534, blueish).has_value()) << "mark missing in row " << y;
    // Black outside the silhouette (radius 5 seen from 22: about 512 +- 155).
    for (int x : {20, 300, 720, 1000}) EXPECT_TRUE(black(window.at(x, 384))) << "x = " << x;
    keepOnFailure(window);
}

TEST_F(CylinderPass, TheFacetsAreLitFromTheFrontSoTheMiddleIsBrightestAndTheSidesDarker) {
    Board board;
    Readback window = drawWith(board, 256.0f, 128.0f, "lit");
    int left = 0;
    while (left < 1024 && black(window.at(left, 384))) ++left;
    int right = 1023;
    while (right >= 0 && black(window.at(right, 384))) --right;
    ASSERT_LT(left, 512);
    EXPECT_NEAR(left, 512 - 155, 12);
    EXPECT_NEAR(right, 512 + 155, 12);
    const Rgba middle = window.at(512, 384);
    const Rgba nearLeft = window.at(left + 3, 384);
    const Rgba nearRight = window.at(right - 3, 384);
    EXPECT_GT(middle.g, 160) << "the diffuse light faces the middle";
    EXPECT_GT(middle.g, nearLeft.g + 30);
    EXPECT_GT(middle.g, nearRight.g + 30);
    EXPECT_GT(nearLeft.g, 40) << "ambient light still shows the sides";
    keepOnFailure(window);
}

TEST_F(CylinderPass, WithTheHeadAtTheLeftEdgeTheSeamFacesTheViewer) {
    Board board;
    board.columns(0, 3, markBlue);
    board.columns(508, 511, markRed);
    Readback window = drawWith(board, 0.0f, 128.0f, "seam");
    const auto blue = runCentreInRow(window, 384, 400, 624, blueish);
    const auto red = runCentreInRow(window, 384, 400, 624, reddish);
    ASSERT_TRUE(blue.has_value());
    ASSERT_TRUE(red.has_value());
    EXPECT_GT(*blue, 512.0);
    EXPECT_LT(*blue, 530.0) << "board x 0 just right of the centre";
    EXPECT_LT(*red, 512.0);
    EXPECT_GT(*red, 494.0) << "board x 511 just left of it";
    keepOnFailure(window);
}

TEST_F(CylinderPass, TheTurnFollowsTheHeadAboutAThreeHundredAndSixtiethOfTheBoardPerPixel) {
    // Away from the middle and the seam, so that no other turn per pixel lines
    // the head's column up with the viewer as well.
    Board board;
    board.columns(98, 101, markBlue);
    board.columns(398, 401, markRed);
    for (float headX : {100.0f, 400.0f}) {
        Readback window = drawWith(board, headX, 128.0f, "turn_" + std::to_string(static_cast<int>(headX)));
        const auto centre = runCentreInRow(window, 384, 400, 624, headX < 200.0f ? blueish : reddish);
        ASSERT_TRUE(centre.has_value()) << "head at x = " << headX;
        EXPECT_NEAR(*centre, 512.0, 4.0) << "the head's column faces the viewer; head at x = " << headX;
        keepOnFailure(window);
    }
}

TEST_F(CylinderPass, AHeadNearTheTopOrBottomTipsTheCylinderSoItsRowMovesTowardTheMiddle) {
    Board board;
    board.rows(236, 240, markYellow);
    board.rows(16, 20, markBlue);
    Readback window = drawWith(board, 256.0f, 128.0f, "upright");
    const auto topUpright = runCentreFromMiddle(window, 512, true, yellowish);
    const auto bottomUpright = runCentreFromMiddle(window, 512, false, blueish);
    keepOnFailure(window);
    window = drawWith(board, 256.0f, 238.0f, "tipped_up");
    const auto topTipped = runCentreFromMiddle(window, 512, true, yellowish);
    keepOnFailure(window);
    window = drawWith(board, 256.0f, 18.0f, "tipped_down");
    const auto bottomTipped = runCentreFromMiddle(window, 512, false, blueish);
    keepOnFailure(window);

    ASSERT_TRUE(topUpright && bottomUpright && topTipped && bottomTipped);
    // Upright, the rows near the ends are far from the middle (row 384).
    EXPECT_GT(*topUpright, 700.0);
    EXPECT_LT(*bottomUpright, 68.0);
    // Tipped by (238 - 128) / 3 degrees, the head's row comes toward the middle.
    EXPECT_NEAR(*topTipped, 585.0, 20.0);
    EXPECT_NEAR(*bottomTipped, 768.0 - 585.0, 20.0);
}

// White that differs from the text's glyphs with the pen at penX on the top
// row, nothing white just left and right of the line included.
int wrongScorePixels(const Readback& window, const std::string& text, int penX) {
    int wrong = 0;
    for (int y = 752; y < 768; ++y)
        for (int x = penX - 10; x < penX - 6 + 16 * static_cast<int>(text.size()); ++x) {
            const Rgba p = window.at(x, y);
            wrong += (p.r > 250 && p.g > 250 && p.b > 250) != textInkAt(text, penX, 760, x, y);
        }
    return wrong;
}

TEST_F(CylinderPass, TheScoreLineIsCentredAtTheTopOfTheWindow) {
    Board board;
    play.snake = snakeAt({{256, 128}, {256, 128}});
    Readback window = drawWith(board, 256.0f, 128.0f, "score_1");
    EXPECT_EQ(wrongScorePixels(window, "Your score 1", 416), 0);
    keepOnFailure(window);

    play.snake.resize(11, play.snake[0]);
    window = drawWith(board, 256.0f, 128.0f, "score_10");
    EXPECT_EQ(wrongScorePixels(window, "Your score 10", 408), 0);
    keepOnFailure(window);

    GLboolean lighting = GL_FALSE;
    glGetBooleanv(GL_LIGHTING, &lighting);
    EXPECT_TRUE(lighting) << "lighting is on again after the line";
}

// Without the rebuild the smaller levels keep whatever the target was created
// with, and wherever the cylinder minifies the board it shows that instead.
TEST_F(CylinderPass, TheBoardTexturesSmallerLevelsFollowTheBoardJustDrawn) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    TextureSet textures;
    textures.names[fontSlot] = realFont().texture;
    textures.names[bodySlot] = makeSolidTexture(markBlue);
    textures.names[headSlot] = makeSolidTexture(markRed);
    textures.names[tileSlot] = makeSolidTexture(markYellow);
    textures.names[backgroundSlot] = makeSolidTexture(magenta);
    play.food.x = 400.0f;
    play.food.y = 60.0f;
    play.food.value = 4;
    play.viewX = -256.0f;
    play.viewY = -128.0f;
    runBoardPass(play, target, 0, textures, realFont());
    runCylinderPass(play, target.colorTexture, 256, light, realFont());
    Readback window = readPixels(0, 0, 1024, 768);

    glBindTexture(GL_TEXTURE_2D, target.colorTexture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    Readback level4{32, 16, std::vector<std::uint8_t>(std::size_t{32} * 16 * 4)};
    glGetTexImage(GL_TEXTURE_2D, 4, GL_RGBA, GL_UNSIGNED_BYTE, level4.rgba.data());
    const Rgba grass = level4.at(4, 8);
    EXPECT_EQ((std::array<int, 3>{grass.r, grass.g, grass.b}), (std::array<int, 3>{255, 0, 255}));

    // The cylinder itself shows the board: magenta at its middle (level 0).
    const Rgba middle = window.at(600, 384);
    EXPECT_TRUE(middle.r > 2 * middle.g + 20 && middle.b > 2 * middle.g + 20);
    if (::testing::Test::HasFailure()) saveReadback(window, "cylinder_mipmaps.ppm");
    for (int slot = bodySlot; slot < textureSlotCount; ++slot) glDeleteTextures(1, &textures.names[slot]);
    releaseBoardTarget(target);
}

}  // namespace

// A software renderer must not stall when the tipped cylinder shows its open
// end edge-on: the board texture is sampled without anisotropic filtering there.
namespace tipped_cylinder {

namespace {

bool softwareRenderer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe"));
}

TEST(TippedCylinder, TheBoardTextureHasNoAnisotropyOnASoftwareRenderer) {
    if (!softwareRenderer()) GTEST_SKIP() << "only software renderers give up anisotropic filtering";
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    glBindTexture(GL_TEXTURE_2D, target.colorTexture);
    GLfloat anisotropy = 0.0f;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    EXPECT_EQ(anisotropy, 1.0f);
    releaseBoardTarget(target);
}

// How long these frames take is measured by bench_frames (rows 100, 160 and
// 230); here only what they show, which no load on the machine can change.
TEST(TippedCylinder, FramesShowTheLitCylinderWhateverRowTheHeadIsOn) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    Font font;
    TextureSet textures;
    for (int slot = 0; slot < textureSlotCount; ++slot) textures.names[slot] = makeSolidTexture(0x808080FFu);
    font.texture = textures.names[fontSlot];
    LightParams light;
    setUpLight(light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
               {0.0f, 0.0f, 50.0f, 1.0f});
    PlayState play;
    play.snake = snakeAt({{256.0f, 128.0f}, {256.0f, 128.0f}});
    play.food = {100.0f, 100.0f, 0.0f, 3};

    // Rows where the tilt shows the inside of an open end at a grazing angle.
    for (float headY : {100.0f, 160.0f, 230.0f}) {
        play.viewX = -256.0f;
        play.viewY = -headY;
        play.segmentRadius = 8.0f;
        runBoardPass(play, target, 0, textures, font);
        runCylinderPass(play, target.colorTexture, play.boardHeight, light, font);
        glFinish();
        const Readback window = readPixels(0, 0, 1024, 768);
        const Rgba middle = window.at(512, 384);
        EXPECT_GT(middle.r, 40) << "the lit near side faces the viewer; head on row " << headY;
        EXPECT_EQ(middle.r, middle.g) << "grey board, white light; head on row " << headY;
        for (int x : {20, 1000}) {
            const Rgba side = window.at(x, 384);
            EXPECT_TRUE(side.r < 8 && side.g < 8 && side.b < 8) << "black beside it at x = " << x << ", row " << headY;
        }
    }
    for (std::uint32_t& name : textures.names) glDeleteTextures(1, &name);
    releaseBoardTarget(target);
}

}  // namespace

}  // namespace tipped_cylinder
