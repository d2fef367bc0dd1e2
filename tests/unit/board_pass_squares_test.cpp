// Where the board pass puts the head's squares, read from the vertex arrays
// it hands to GL. The window-less tests have no GL context, so nothing is
// lost by these stand-ins not passing the calls on.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/font.h"
#include "render/gl.h"
#include "render/texture_images.h"
#include "state/play_state.h"
#include "support/scripted_platform.h"

namespace {

constexpr GLuint headTexture = 13;
bool seeing = false;
const GLfloat* vertices = nullptr;
GLuint bound = 0;
std::vector<float> headSquares;  // the x of each square's centre, in the order drawn

}  // namespace

extern "C" void glVertexPointer(GLint, GLenum, GLsizei, const GLvoid* pointer) {
    vertices = static_cast<const GLfloat*>(pointer);
}

extern "C" void glBindTexture(GLenum, GLuint texture) { bound = texture; }

extern "C" void glDrawArrays(GLenum, GLint first, GLsizei count) {
    if (!seeing || bound != headTexture) return;
    for (std::ptrdiff_t corner = first; corner < first + count; corner += 4) {
        const GLfloat* x = vertices + 2 * corner;
        headSquares.push_back((x[0] + x[2] + x[4] + x[6]) / 4.0f);
    }
}

namespace {

// A head within a square's width of a side is drawn again one board width
// away; a square of that copy that would lie wholly beyond the far side comes
// back onto the board, over the stretch itself.
TEST(BoardPassSquares, TheCopyOfAStretchBeyondTheFarSideComesBackOntoTheBoard) {
    const struct {
        const char* what;
        float headX, behindX;
        std::vector<float> squares;  // the stretch from behind to the head, then its copy
    } cases[] = {
        {"going left at the left side", 12.0f, 16.0f, {15, 14, 13, 12, 15, 14, 13, 12}},
        {"going right at the right side", 500.0f, 496.0f, {497, 498, 499, 500, 497, 498, 499, 500}},
    };
    resetScriptedPlatform();
    TextureSet textures;
    textures.names = {11, 12, headTexture, 14, 15};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlayState play;
        play.snake.assign(2, Segment{});
        play.snake[0].x = c.headX;
        play.snake[1].x = c.behindX;
        headSquares.clear();
        seeing = true;
        runBoardPass(play, BoardTarget{}, 0, textures, Font{});
        seeing = false;
        EXPECT_EQ(headSquares, c.squares);
    }
}

}  // namespace
