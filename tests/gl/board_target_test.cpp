// The board target and the flat projection on a real Mesa context.
#include <gtest/gtest.h>

#include "gl/gl_probe.h"
#include "render/board_target.h"
#include "render/framebuffer_api.h"
#include "render/projection_2d.h"

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
