// The board pass draws its quads from vertex arrays placed on the CPU, a full
// batch at a time. Here a snake far longer than a batch, with the game's own
// pictures, is drawn both ways: by the pass, and by the plain
// one-quad-per-glBegin drawing kept below as the reference. The narrow place
// of a reversal is left to the kept pictures and the board pass tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/projection_2d.h"
#include "render/texture_images.h"
#include "state/play_state.h"

namespace {

void referenceQuad(float left, float bottom, float right, float top) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(left, top);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(left, bottom);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(right, bottom);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(right, top);
    glEnd();
}

constexpr float radius = 8.0f;

void referenceStretch(const PlayState& play, const TextureSet& textures, int i, float shift, float width) {
    const Segment& segment = play.snake[static_cast<std::size_t>(i)];
    const Segment& behind = play.snake[static_cast<std::size_t>(i) + 1];
    const float ax = segment.x + shift;
    const float ay = segment.y;
    float bx = behind.x + shift;
    const float by = behind.y;
    if (std::fabs(bx - ax) > 100.0f) bx = bx > ax ? ax - 4 : ax + 4;
    const float dx = (bx - ax) / 4;
    const float dy = (by - ay) / 4;
    float px = bx;
    float py = by;
    for (int k = 1; k <= 4; ++k) {
        if (px + 2.0f * radius <= 0.0f) px += width;
        if (px - 2.0f * radius >= width) px -= width;
        px -= dx;
        py -= dy;
        glPushMatrix();
        glTranslatef(px, py, 0.0f);
        if (i == 0) {
            glBindTexture(GL_TEXTURE_2D, textures.names[headSlot]);
            glRotatef(static_cast<GLfloat>(play.headAngle), 0.0f, 0.0f, 1.0f);
        } else {
            glScalef(segment.scale, segment.scale, 1.0f);
        }
        referenceQuad(-radius, -radius, radius, radius);
        glPopMatrix();
    }
}

// The whole pass but the food number, which flickers with the clock.
void referenceBoardPass(const PlayState& play, const BoardTarget& target, const TextureSet& textures) {
    const float width = 512.0f, height = 256.0f;
    bindBoardTarget(target);
    pushOrtho2D(512, 256);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, textures.names[backgroundSlot]);
    glEnable(GL_TEXTURE_2D);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_NEAREST));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_NEAREST));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    referenceQuad(0.0f, 0.0f, width, height);
    glBindTexture(GL_TEXTURE_2D, textures.names[tileSlot]);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    for (int y = 8; y <= 248; y += 240)
        for (int x = 0; x <= 512; x += 16)
            referenceQuad(static_cast<float>(x - 8), static_cast<float>(y - 8), static_cast<float>(x + 8),
                          static_cast<float>(y + 8));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textures.names[bodySlot]);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int i = upperIndex(play.snake) - 1; i >= 0; --i) {
        const float x = play.snake[static_cast<std::size_t>(i)].x;
        const float copyShift = x <= 2.0f * radius ? width : x >= width - 2.0f * radius ? -width : 0.0f;
        referenceStretch(play, textures, i, 0.0f, width);
        if (copyShift != 0.0f) referenceStretch(play, textures, i, copyShift, width);
    }
    popOrtho2D();
    glDisable(GL_BLEND);
}

// A thousand segments 4.5 apart in rows 18 apart that run leftward round the
// board and cross the seam on every row, of three sizes, the head turned.
void layOutLongSnake(PlayState& play) {
    play.snake.clear();
    for (int i = 0; i < 1000; ++i) {
        const double along = 4.5 * i;
        const int row = static_cast<int>(along / 512.0);
        Segment s;
        s.x = static_cast<float>(std::fmod(300.0 - along + 512.0 * 16, 512.0));
        s.y = static_cast<float>(30.0 + std::fmod(128.0 - 30.0 - 18.0 * row + 2000.0, 200.0));
        s.scale = 0.5f + 0.25f * static_cast<float>(i % 3);
        play.snake.push_back(s);
    }
    play.headAngle = 135;
    play.food.x = -100.0f;  // off the board
    play.food.y = 100.0f;
    play.food.value = 5;
}

TEST(BoardPassPicture, ALongSnakeAcrossTheSeamLooksAsWhenDrawnQuadByQuad) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    TextureImages images;
    makeTextureImages(images);
    TextureSet textures;
    for (int slot = 0; slot < textureSlotCount; ++slot) uploadTexture(textures.names[slot], images[slot]);
    const Font font{textures.names[fontSlot], realFont().listBase};

    PlayState play;
    layOutLongSnake(play);
    referenceBoardPass(play, target, textures);
    const Readback expected = readPixels(0, 0, 512, 256);
    runBoardPass(play, target, 0, textures, font);
    const Readback board = readPixels(0, 0, 512, 256);

    int differing = 0, largest = 0;
    for (std::size_t n = 0; n < board.rgba.size(); n += 4) {
        int difference = 0;
        for (std::size_t c = 0; c < 4; ++c)
            difference = std::max(difference, std::abs(board.rgba[n + c] - expected.rgba[n + c]));
        if (difference > 0) ++differing;
        largest = std::max(largest, difference);
    }
    EXPECT_LE(differing, 512 * 256 / 1000) << "pixels that differ at all";
    EXPECT_LE(largest, 2) << "levels";
    // Something must have been drawn for the comparison to mean anything.
    int snakeRed = 0;
    for (int x = 0; x < 512; ++x) snakeRed += board.at(x, 128).r > 150 && board.at(x, 128).g < 80;
    EXPECT_GT(snakeRed, 100);
    if (::testing::Test::HasFailure()) {
        saveReadback(expected, "board_picture_reference.ppm");
        saveReadback(board, "board_picture_batched.ppm");
    }
    unbindBoardTarget();
    for (int slot = 0; slot < textureSlotCount; ++slot) glDeleteTextures(1, &textures.names[slot]);
    releaseBoardTarget(target);
}

}  // namespace
