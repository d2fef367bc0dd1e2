// The title after a game that really ended: its previous score is the upper
// index of the snake that died, whatever its length.
#include <gtest/gtest.h>

#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <string>

#include "game/program.h"
#include "game/program_flow.h"
#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "render/board_target.h"

namespace {

// Red ink that differs from "Previous score N" drawn twice magnified with the
// first glyph's centre at (512 - 8n, 324).
int wrongRedPixels(const Readback& window, const std::string& line) {
    const int length = static_cast<int>(line.size());
    const int penX = 512 - 8 * length, penY = 324;
    int wrong = 0;
    for (int y = penY - 20; y < penY + 20; ++y)
        for (int x = 0; x < 1024; ++x) {
            const int m = (x - (penX - 8)) / 16;
            bool ink = false;
            if (x >= penX - 8 && m < length && y >= penY - 8 && y < penY + 8) {
                const int i = (x - (penX - 8) - 16 * m) / 2;
                const int j = (penY + 7 - y) / 2;
                ink = gfxPrimitivesFontdata[8 * static_cast<unsigned char>(line[m]) + j] & (0x80 >> i);
            }
            const Rgba p = window.at(x, y);
            const bool red = p.r >= 40 && p.g < 20 && p.b < 20;
            wrong += red != ink;
        }
    return wrong;
}

TEST(TitleAfterAGame, ShowsTheUpperIndexOfTheSnakeThatRanIntoTheTopEdge) {
    Program program;
    ASSERT_TRUE(createBoardTarget(program.boardTarget, 512, 256, false));
    program.font = realFont();
    for (int slot = 0; slot < textureSlotCount; ++slot)
        if (slot != fontSlot) program.textures.names[slot] = makeSolidTexture(0x808080FFu);
    program.textures.names[fontSlot] = program.font.texture;
    setUpLight(program.light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
               {0.0f, 0.0f, 50.0f, 1.0f});
    returnToTitle(program);
    startGame(program);
    // Four segments heading up just below the top stone row, the food far off.
    PlayState& play = program.play;
    play.snake = snakeAt({{256.0f, 234.0f}, {256.0f, 229.0f}, {256.0f, 224.0f}, {256.0f, 219.0f}});
    play.heading = {0.0f, 2.0f, 0.0f};
    play.headAngle = 90;
    play.movingHorizontally = false;
    play.movingVertically = true;
    play.food = {40.0f, 40.0f, 0.0f, 5};
    // Above this game's score, so the game over writes no best-score file.
    play.bestScore = 1000;

    ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    ASSERT_EQ(play.snake.size(), 4u);
    returnToTitle(program);
    drawTitleFrame(program);
    glFinish();
    const Readback window = readPixels(0, 0, 1024, 768);
    EXPECT_EQ(wrongRedPixels(window, "Previous score 3"), 0);
    if (::testing::Test::HasFailure()) saveReadback(window, "title_after_game.ppm");

    for (std::uint32_t& name : program.textures.names)
        if (name != program.font.texture) glDeleteTextures(1, &name);
    releaseBoardTarget(program.boardTarget);
}

}  // namespace
