// A running game draws its frames without touching the heap: the food digit
// and the score line are built on the stack, and nothing in either pass copies
// the snake.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>

#include "game/program.h"
#include "game/sound_flow.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/cylinder_pass.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/texture_images.h"
#include "rules/snake_rules.h"
#include "sound/sound_effects.h"
#include "state/play_state.h"
#include "support/heap_counter.h"


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
