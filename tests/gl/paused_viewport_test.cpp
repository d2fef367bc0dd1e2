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
    const struct {
        int width;
        int height;
    } sizes[] = {{1024, 500}, {700, 768}, {1024, 768}};
    for (const auto& size : sizes) {
        GLint before[4] = {};
        glGetIntegerv(GL_VIEWPORT, before);
        ASSERT_TRUE(resizeWindow(size.width, size.height)) << size.width << " x " << size.height;
        drawPausedFrame(program);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        const FrameViewport expected = letterboxViewport(size.width, size.height);
        EXPECT_FALSE(before[2] == expected.width && before[3] == expected.height) << "the picture must change size";
        EXPECT_EQ(viewport[0], expected.x) << size.width << " x " << size.height;
        EXPECT_EQ(viewport[1], expected.y) << size.width << " x " << size.height;
        EXPECT_EQ(viewport[2], expected.width) << size.width << " x " << size.height;
        EXPECT_EQ(viewport[3], expected.height) << size.width << " x " << size.height;
    }

    for (std::uint32_t& name : program.textures.names)
        if (name != program.font.texture) glDeleteTextures(1, &name);
    glDeleteTextures(1, &program.boardCopyTexture);
}

}  // namespace
