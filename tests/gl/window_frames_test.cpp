// The real window and context, and the frames drawn in them: what the window
// and context turned out to be, a paused game drawn after the window changed
// size, and frames drawn without touching the heap.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "game/program.h"
#include "game/program_flow.h"
#include "game/sound_flow.h"
#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/frame_viewport.h"
#include "render/texture_images.h"
#include "rules/snake_rules.h"
#include "sound/sound_effects.h"
#include "state/play_state.h"
#include "support/heap_counter.h"

// What the real window and context turned out to be.
namespace {

TEST(Display, MultisamplingIsOnExactlyWhenTheFormatHasSamples) {
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    std::printf("GL_VERSION %s | GL_RENDERER %s | samples %d\n", glGetString(GL_VERSION), glGetString(GL_RENDERER),
                samples);
    EXPECT_EQ(glIsEnabled(GL_MULTISAMPLE) == GL_TRUE, samples > 0);
    EXPECT_TRUE(samples == 0 || samples == 2 || samples >= 4) << samples;
}

TEST(Display, TheContextIsDoubleBufferedRgba8WithDepthAndNoStencil) {
    GLint red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = -1;
    GLboolean doubleBuffered = GL_FALSE;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(red, 8);
    EXPECT_EQ(green, 8);
    EXPECT_EQ(blue, 8);
    EXPECT_EQ(alpha, 8);
    EXPECT_GE(depth, 24);
    EXPECT_EQ(stencil, 0);
    EXPECT_TRUE(doubleBuffered);
}

TEST(Display, TheExtensionStringEndsWithTheWindowSystemNamesAndFitsTheLimit) {
    std::string names = glExtensionString();
    EXPECT_LE(names.size(), 16383u);
    EXPECT_EQ(names.rfind("GL_", 0), 0u);
    std::size_t firstGlx = names.find("GLX_");
    ASSERT_NE(firstGlx, std::string::npos);
    EXPECT_EQ(names.find(" GL_", firstGlx), std::string::npos) << "GL names come first, then GLX names";
    EXPECT_EQ(names.find("  "), std::string::npos) << "one space between the two lists";
}

TEST(Display, NoTextInputSoNoInputMethodSitsBetweenTheKeysAndTheGame) { EXPECT_FALSE(SDL_IsTextInputActive()); }

}  // namespace

// A paused game drawn after the window changed size, without off-screen
// rendering: only the play frame's board pass used to set the viewport.
namespace paused_viewport {

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

}  // namespace paused_viewport

// A running game draws its frames without touching the heap: the food digit
// and the score line are built on the stack, and nothing in either pass copies
// the snake.
namespace frame_allocation {

namespace {

TEST(PlayFrames, DrawAndPresentWithoutAHeapAllocation) {
    BoardTarget target;
    ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
    Font font;
    uploadTexture(font.texture, makeFontImage());
    buildFont(font.listBase, 16.0f, 16.0f, 8);
    TextureSet textures;
    textures.names[fontSlot] = font.texture;
    for (int slot = bodySlot; slot < textureSlotCount; ++slot) textures.names[slot] = makeSolidTexture(0x808080FFu);
    LightParams light;
    setUpLight(light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
               {0.0f, 0.0f, 50.0f, 1.0f});

    PlayState play;
    // A hundred segments along a row that crosses the seam, and a running pulse.
    for (int i = 0; i < 100; ++i) {
        Segment s;
        s.x = static_cast<float>((300 + 512 - 5 * i) % 512);
        s.y = 100.0f;
        s.scale = 1.0f;
        play.snake.push_back(s);
    }
    play.food = {200.0f, 180.0f, 0.0f, 7};
    play.viewX = -300.0f;
    play.viewY = -100.0f;
    play.frameTime = 0.0;
    play.reversalPulse = 25.0f;

    auto frame = [&] {
        play.segmentRadius = 8.0f;
        runBoardPass(play, target, 0, textures, font);
        runCylinderPass(play, target.colorTexture, play.boardHeight, light, font);
        present();
    };
    for (int warmUp = 0; warmUp < 5; ++warmUp) frame();
    const std::size_t before = heapAllocations();
    for (int n = 0; n < 50; ++n) frame();
    EXPECT_EQ(heapAllocations() - before, 0u);

    for (int slot = bodySlot; slot < textureSlotCount; ++slot) glDeleteTextures(1, &textures.names[slot]);
    glDeleteTextures(1, &font.texture);
    glDeleteLists(font.listBase, 256);
    releaseBoardTarget(target);
}

// Handing a frame's sounds to an open output (the test command's dummy
// driver) copies a small record under the device's lock and nothing more.
TEST(PlayFrames, HandOverTheirSoundsWithoutAHeapAllocation) {
    ASSERT_GT(openSound(), 0) << "the gl tests run with SDL_AUDIODRIVER=dummy";
    static Program program;
    settleSound(program);
    ASSERT_GT(program.sound.effectsRate, 0);
    auto frame = [&](int n) {
        noteEvent(program.play.events, GameEventKind::eat, 1 + n % 9);
        if (n % 7 == 0) noteEvent(program.play.events, n % 2 ? GameEventKind::pause : GameEventKind::resume);
        handOverSounds(program);
    };
    frame(0);
    const std::size_t before = heapAllocations();
    for (int n = 1; n <= 50; ++n) frame(n);
    EXPECT_EQ(heapAllocations() - before, 0u);
    EXPECT_EQ(program.play.events.count, 0);
    closeSound();
}

}  // namespace

}  // namespace frame_allocation
