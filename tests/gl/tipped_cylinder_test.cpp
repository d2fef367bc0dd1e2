// A software renderer must not stall when the tipped cylinder shows its open
// end edge-on: the board texture is sampled without anisotropic filtering there.
#include <gtest/gtest.h>

#include <cstring>

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
