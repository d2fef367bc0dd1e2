// The board drawn in each palette from the same kept noise and read back from
// the board target (before the drum's lighting): the body, the head, the food
// digit at the top of its flicker and the stone rows, each as its mean linear
// colour, against the mean linear colour of the grass beside them.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>

#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/palette.h"
#include "render/texture_images.h"
#include "state/play_state.h"
#include "support/colour_contrast.h"

namespace {

constexpr float headX = 200.0f;
constexpr float boardMiddle = 128.0f;
constexpr float foodX = 420.0f;
constexpr double flickerTop = 0.99;

// Heading right along the middle row: the head at headX, thirty segments behind.
void layOutStraightSnake(PlayState& play) {
    play.snake.clear();
    for (int i = 0; i < 31; ++i) {
        Segment s;
        s.x = headX - 4.5f * static_cast<float>(i);
        s.y = boardMiddle;
        s.scale = 1.0f;
        play.snake.push_back(s);
    }
    play.headAngle = 0;
    play.frameTime = 0.0;
    play.food = {foodX, boardMiddle, 0.0f, 3};
}

// The food digit's brightness as the pass works it out from the clock.
double flickerAt(double seconds) { return std::sin(20.0 * seconds) * 0.5 + 0.5; }

// Draws until a pass ran wholly near the top of the digit's flicker: both
// clock readings around it are, and they lie within one crest.
Readback drawAtFlickerTop(PlayState& play, const BoardTarget& target, const TextureSet& textures) {
    const double giveUpAt = readClock() + 5.0;
    while (readClock() < giveUpAt) {
        const double before = readClock();
        if (flickerAt(before) < flickerTop) continue;
        play.segmentRadius = 8.0f;
        runBoardPass(play, target, 0, textures, realFont());
        const double after = readClock();
        if (flickerAt(after) >= flickerTop && after - before < 0.1) return readPixels(0, 0, 512, 256);
    }
    ADD_FAILURE() << "no pass ran near the top of the digit's flicker in five seconds";
    return readPixels(0, 0, 512, 256);
}

Readback drawWithoutFood(PlayState& play, const BoardTarget& target, const TextureSet& textures) {
    const Food food = play.food;
    play.food.x = -100.0f;
    play.segmentRadius = 8.0f;
    runBoardPass(play, target, 0, textures, realFont());
    play.food = food;
    return readPixels(0, 0, 512, 256);
}

struct Measured {
    ColourMean grass, body, head, digit, stones;
};

void add(ColourMean& mean, Rgba p) { addPixel(mean, p.r, p.g, p.b); }

// Each thing by where it lies; the digit as the pixels of its cell that the
// food changed.
Measured measure(const Readback& board, const Readback& withoutFood) {
    Measured m;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x) {
            const Rgba p = board.at(x, y);
            const float dx = static_cast<float>(x) + 0.5f - headX;
            const float dy = static_cast<float>(y) + 0.5f - boardMiddle;
            if (y < 16 || y >= 240)
                add(m.stones, p);
            else if (dx * dx + dy * dy <= 6.0f * 6.0f)
                add(m.head, p);
            else if (x >= 80 && x < 180 && std::fabs(dy) <= 5.0f)
                add(m.body, p);
            else if (x >= 240 && x < 380 && y >= 24 && y < 232)
                add(m.grass, p);
            else if (std::fabs(static_cast<float>(x) + 0.5f - foodX) < 8.0f && std::fabs(dy) < 8.0f) {
                const Rgba q = withoutFood.at(x, y);
                if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 60) add(m.digit, p);
            }
        }
    return m;
}

std::vector<ContrastRow> tableOf(const Measured& m) {
    return contrastTable({{"body", meanColour(m.body)},
                          {"head", meanColour(m.head)},
                          {"digit", meanColour(m.digit)},
                          {"stones", meanColour(m.stones)}},
                         meanColour(m.grass));
}

TEST(PaletteContrast, TheContrastPaletteKeepsEveryThingThreeToOneFromTheGrassInAllFourVisions) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    const TextureNoise noise = drawTextureNoise();
    TextureImages images;
    makeTextureImages(images, noise, designPalette);
    TextureSet textures;
    for (int slot = 0; slot < textureSlotCount; ++slot) uploadTexture(textures.names[slot], images[slot]);
    PlayState play;
    layOutStraightSnake(play);

    const Readback designBoard = drawWithoutFood(play, target, textures);
    const Measured design = measure(drawAtFlickerTop(play, target, textures), designBoard);
    recolourTextures(textures, noise, contrastPalette);
    const Measured contrast = measure(drawAtFlickerTop(play, target, textures),
                                      drawWithoutFood(play, target, textures));
    recolourTextures(textures, noise, designPalette);
    const Readback designAgain = drawWithoutFood(play, target, textures);

    // Each measure must have seen its subject.
    for (const Measured* m : {&design, &contrast}) {
        EXPECT_GT(m->grass.count, 20000);
        EXPECT_GT(m->stones.count, 2 * 512 * 15);
        EXPECT_GT(m->head.count, 100);
        EXPECT_GE(m->body.count, 1000);
        EXPECT_GE(m->digit.count, 80) << "digit pixels: " << m->digit.count;
    }
    const std::vector<ContrastRow> designTable = tableOf(design);
    const std::vector<ContrastRow> contrastTable = tableOf(contrast);
    std::cout << formatContrastTable("Design palette, board read back, mean linear colours:", designTable)
              << formatContrastTable("Contrast palette, board read back, mean linear colours:", contrastTable);
    for (const ContrastRow& row : contrastTable)
        for (std::size_t v = 0; v < everyVision.size(); ++v)
            EXPECT_GE(row.ratios[v], 3.0) << row.thing << ", " << visionName(everyVision[v]);
    // The red snake on green grass this palette is for.
    EXPECT_LT(designTable[0].ratios[0], 3.0) << "design body, normal vision";

    // Switching back gives the design's board pixel for pixel.
    EXPECT_EQ(designAgain.rgba, designBoard.rgba);
    if (::testing::Test::HasFailure()) {
        saveReadback(designBoard, "palette_design.ppm");
        saveReadback(designAgain, "palette_design_again.ppm");
    }
    unbindBoardTarget();
    for (int slot = 0; slot < textureSlotCount; ++slot) glDeleteTextures(1, &textures.names[slot]);
    releaseBoardTarget(target);
}

}  // namespace
