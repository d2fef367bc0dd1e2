// A software renderer must not stall when the tipped cylinder shows its open
// end edge-on: the board texture is sampled without anisotropic filtering there.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "game/play_state.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/texture_images.h"

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

TEST(TippedCylinder, FramesStayFastWhateverRowTheHeadIsOn) {
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

    // Rows where the tilt shows the inside of an open end at a grazing angle
    // cost hundreds of milliseconds to seconds a frame with anisotropy on.
    for (float headY : {100.0f, 160.0f, 230.0f}) {
        play.viewX = -256.0f;
        play.viewY = -headY;
        std::vector<double> milliseconds;
        for (int n = 0; n < 8; ++n) {
            auto start = std::chrono::steady_clock::now();
            play.segmentRadius = 8.0f;
            runBoardPass(play, target, 0, textures, font);
            runCylinderPass(play, target.colorTexture, play.boardHeight, light, font);
            glFinish();
            milliseconds.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(milliseconds.begin(), milliseconds.end());
        EXPECT_LT(milliseconds[milliseconds.size() / 2], 150.0) << "median frame with the head on row " << headY;
    }
    for (std::uint32_t& name : textures.names) glDeleteTextures(1, &name);
    releaseBoardTarget(target);
}

}  // namespace
