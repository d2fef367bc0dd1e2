#include "render/board_pass.h"

#include <cmath>

#include "platform/platform.h"
#include "render/board_target.h"
#include "render/font.h"
#include "render/frame_viewport.h"
#include "render/gl.h"
#include "render/projection_2d.h"
#include "render/quad_batch.h"
#include "render/texture_images.h"
#include "state/play_state.h"

namespace {

constexpr int tileHalfSize = 8;
constexpr int subSteps = 4;
constexpr float seamThreshold = 100.0f;
constexpr float fullRadius = 8.0f;

void drawBackground(const TextureSet& textures, QuadBatch& batch, float width, float height) {
    glBindTexture(GL_TEXTURE_2D, textures.names[backgroundSlot]);
    glEnable(GL_TEXTURE_2D);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_NEAREST));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_NEAREST));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    addQuad(batch, 0.0f, 0.0f, width, height);
    drawQuads(batch);
}

void drawBorderTiles(const TextureSet& textures, QuadBatch& batch, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, textures.names[tileSlot]);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    const int s = tileHalfSize;
    const int rowStep = height - 2 * s;
    // The colour is still the background's white.
    for (int y = s; y <= height - s; y += rowStep) {
        for (int x = 0; x <= width; x += 2 * s)
            addQuad(batch, static_cast<float>(x - s), static_cast<float>(y - s), static_cast<float>(x + s),
                    static_cast<float>(y + s));
        if (rowStep <= 0) break;  // a board too low for two rows
    }
    drawQuads(batch);
}

void drawFoodNumber(const PlayState& play, const Font& font) {
    const double t = readClock();
    const float p = static_cast<float>(std::sin(20.0 * t) * 0.5 + 0.5);
    drawText(textWithNumber("", play.food.value).view(), font.texture, font.listBase, play.food.x, play.food.y, 0.0f, p,
             p, p);
}

// The head's turn, as glRotatef would make it about the z axis.
struct Turn {
    float cosine;
    float sine;
};

Turn turnBy(int degrees) {
    const double radians = static_cast<float>(degrees) * 3.14159265358979323846 / 180.0;
    return {std::cos(static_cast<float>(radians)), std::sin(static_cast<float>(radians))};
}

// The stretch from segment i + 1 to segment i, with the picture of segment i,
// shifted by a whole board width for the wrap copy. radius is the pass's own:
// narrowed where the reversal pulse has got to, and left so for what follows.
void addStretch(const PlayState& play, float& radius, QuadBatch& batch, Turn headTurn, int i, float shift,
                float width) {
    const Snake& snake = play.snake;
    const int upper = upperIndex(snake);
    // The narrow place: the marked index runs from the tail end to the head as
    // the pulse grows.
    if (play.reversalPulse > 0.0f &&
        upper - i == static_cast<int>(std::floor(upper * std::floor(static_cast<double>(play.reversalPulse)) /
                                                 static_cast<double>(reversalPulseEnd))))
        radius = play.reversalPulse / reversalPulseEnd + 1.0f;

    const Segment& segment = snake[static_cast<std::size_t>(i)];
    const Segment& behind = snake[static_cast<std::size_t>(i) + 1];
    const float ax = segment.x + shift;
    const float ay = segment.y;
    float bx = behind.x + shift;
    const float by = behind.y;
    // Two segments on opposite sides of the seam: draw the stretch as if the
    // one behind stood just beside, not across the whole board.
    if (std::fabs(bx - ax) > seamThreshold) {
        if (bx > ax)
            bx = ax - subSteps;
        else if (bx < ax)
            bx = ax + subSteps;
    }
    const float dx = (bx - ax) / subSteps;
    const float dy = (by - ay) / subSteps;
    float px = bx;
    float py = by;
    for (int k = 1; k <= subSteps; ++k) {
        const float r = radius;
        if (px + 2.0f * r <= 0.0f) px += width;
        if (px - 2.0f * r >= width) px -= width;
        px -= dx;
        py -= dy;
        const float q = radius;
        if (i == 0)
            addTransformedQuad(batch, px, py, q, headTurn.cosine, -headTurn.sine, headTurn.sine, headTurn.cosine);
        else
            addTransformedQuad(batch, px, py, q, segment.scale, 0.0f, 0.0f, segment.scale);
    }
}

void drawSnake(const PlayState& play, const TextureSet& textures, QuadBatch& batch, float width) {
    const int upper = upperIndex(play.snake);
    const Turn headTurn = turnBy(play.headAngle);
    float radius = fullRadius;
    // Tail end first, so the head lies on top.
    for (int i = upper - 1; i >= 0; --i) {
        // The margin uses the radius the stretch before was drawn with, which
        // is narrow right behind the pulse.
        const float margin = 2.0f * radius;
        const float x = play.snake[static_cast<std::size_t>(i)].x;
        float copyShift = 0.0f;
        if (x <= margin)
            copyShift = width;
        else if (x >= width - margin)
            copyShift = -width;
        radius = fullRadius;
        if (i == 0) {
            // The body is drawn before the head's picture replaces its texture.
            drawQuads(batch);
            glBindTexture(GL_TEXTURE_2D, textures.names[headSlot]);
        }
        addStretch(play, radius, batch, headTurn, i, 0.0f, width);
        if (copyShift != 0.0f) addStretch(play, radius, batch, headTurn, i, copyShift, width);
    }
    drawQuads(batch);
}

}  // namespace

std::uint32_t createBoardCopyTexture(std::int32_t width, std::int32_t height) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // The driver rebuilds the smaller levels whenever level 0 is copied into,
    // which needs no entry point beyond OpenGL 1.4.
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return name;
}

void runBoardPass(const PlayState& play, const BoardTarget& target, std::uint32_t boardCopyTexture,
                  const TextureSet& textures, const Font& font) {
    const int width = static_cast<int>(play.boardWidth);
    const int height = static_cast<int>(play.boardHeight);
    // Without a target the board is drawn in the lower-left corner of the
    // back buffer and copied out; the cylinder pass clears over it.
    const bool copying = boardCopyTexture != 0;
    if (copying) {
        glViewport(0, 0, width, height);
        // The back buffer has a depth buffer, still holding the last cylinder:
        // with the test on, every quad after the background would be rejected.
        glDisable(GL_DEPTH_TEST);
    } else {
        bindBoardTarget(target);
    }
    pushOrtho2D(width, height);
    // No clear: the opaque background quad writes every pixel of the board.
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    QuadBatch batch;
    beginQuads(batch);
    drawBackground(textures, batch, static_cast<float>(width), static_cast<float>(height));
    drawBorderTiles(textures, batch, width, height);
    drawFoodNumber(play, font);

    glBindTexture(GL_TEXTURE_2D, textures.names[bodySlot]);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawSnake(play, textures, batch, static_cast<float>(width));
    endQuads(batch);
    popOrtho2D();

    if (copying) {
        glBindTexture(GL_TEXTURE_2D, boardCopyTexture);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
        setFrameViewport();
    }
}
