// The title after a game that really ended: its previous score is the upper
// index of the snake that died, whatever its length, and every picture of it,
// whatever red the score has pulsed to, shows the whole title.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "rules/frame_rules.h"

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
