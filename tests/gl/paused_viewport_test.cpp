// A paused game drawn after the window changed size, without off-screen
// rendering: only the play frame's board pass used to set the viewport.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "game/program.h"
#include "game/program_flow.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/frame_viewport.h"

namespace {

// Presents until the drawable has the size, for at most two seconds.
bool resizeWindow(int width, int height) {
    SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), width, height);
    for (int i = 0; i < 200; ++i) {
        present();
        if (drawableSize().width == width && drawableSize().height == height) return true;
        SDL_Delay(10);
    }
    return false;
}

TEST(WithoutFramebufferObjectPausedFrame, FollowsAResizeWhileTheGameIsPaused) {
    Program program;
    ASSERT_FALSE(createBoardTarget(program.boardTarget, 512, 256, false)) << "run without the extension";
    program.boardCopyTexture = createBoardCopyTexture(512, 256);
    program.font = realFont();
    for (int slot = 0; slot < textureSlotCount; ++slot)
        if (slot != fontSlot) program.textures.names[slot] = makeSolidTexture(0x808080FFu);
    program.textures.names[fontSlot] = program.font.texture;
    startGame(program);

    ASSERT_TRUE(resizeWindow(1024, 768));
    drawPausedFrame(program);
    // Lower than 4:3: the picture shrinks to the window's height, centred.
    ASSERT_TRUE(resizeWindow(1024, 500));
    drawPausedFrame(program);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const FrameViewport expected = letterboxViewport(1024, 500);
    EXPECT_EQ(expected.width, 666);
    EXPECT_EQ(viewport[0], expected.x);
    EXPECT_EQ(viewport[1], expected.y);
    EXPECT_EQ(viewport[2], expected.width);
    EXPECT_EQ(viewport[3], expected.height);
    EXPECT_TRUE(resizeWindow(1024, 768));

    for (std::uint32_t& name : program.textures.names)
        if (name != program.font.texture) glDeleteTextures(1, &name);
    glDeleteTextures(1, &program.boardCopyTexture);
}

}  // namespace
