// The board during a reversal, read back and held against pictures the
// board pass of version 1.1.0 drew from the same states (tests/data/pictures).
// With TUBEWYRM_WRITE_KEPT_PICTURES set the pictures are written instead.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/board_target.h"
#include "render/palette.h"
#include "render/texture_images.h"
#include "rules/frame_rules.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"
#include "support/png_file.h"
#include "support/recorded_games.h"

namespace {

// The game's own pictures, from a fixed seed.
TextureSet gameTextures() {
    seedRandom(20261208.0);
    TextureImages images;
    makeTextureImages(images, drawTextureNoise(), paletteFor(false));
    TextureSet textures;
    for (int slot = 0; slot < textureSlotCount; ++slot) {
        uploadTexture(textures.names[slot], images[slot]);
        freeImage(images[slot]);
    }
    return textures;
}

// The food's digit flickers with the clock: its square is not compared.
bool onFoodDigit(const PlayState& play, int x, int y) {
    return std::abs(x - static_cast<int>(play.food.x)) <= 12 && std::abs(y - static_cast<int>(play.food.y)) <= 12;
}

class KeptPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createBoardTarget(target, 512, 256, false));
        textures = gameTextures();
        writing = std::getenv("TUBEWYRM_WRITE_KEPT_PICTURES") != nullptr;
    }
    void TearDown() override { releaseBoardTarget(target); }

    // The board as the pass left it, against the kept picture of that name.
    void compare(const PlayState& play, const std::string& name) {
        bindBoardTarget(target);
        const Readback board = readPixels(0, 0, 512, 256);
        unbindBoardTarget();
        RgbaPicture picture{512, 256, {}};
        picture.rgba.resize(board.rgba.size());
        for (int y = 0; y < 256; ++y)  // PNG rows run top down
            std::copy_n(&board.rgba[static_cast<std::size_t>(y) * 512 * 4], 512 * 4,
                        &picture.rgba[static_cast<std::size_t>(255 - y) * 512 * 4]);
        const std::string path = testDataFolder() + "/pictures/" + name + ".png";
        if (writing) {
            ASSERT_TRUE(writePngFile(path, picture)) << path;
            return;
        }
        RgbaPicture kept;
        ASSERT_TRUE(readPngFile(path, kept)) << path;
        ASSERT_EQ(kept.width, 512);
        ASSERT_EQ(kept.height, 256);
        int differing = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 512; ++x) {
                if (onFoodDigit(play, x, 255 - y)) continue;
                const std::size_t at = (static_cast<std::size_t>(y) * 512 + x) * 4;
                if (!std::equal(&kept.rgba[at], &kept.rgba[at + 4], &picture.rgba[at])) ++differing;
            }
        if (differing == 0) return;
        const std::string drawn = ::testing::TempDir() + name + "_drawn.png";
        writePngFile(drawn, picture);
        ADD_FAILURE() << differing << " pixels of " << name << " differ; drawn: " << drawn;
    }

    BoardTarget target;
    TextureSet textures;
    bool writing = false;
};

TEST_F(KeptPictures, ARecordedReversalIsDrawnAsBefore) {
    Recording recording;
    std::string problem;
    ASSERT_TRUE(loadKeptRecording("long_snake", recording, problem)) << problem;
    PlayState play;
    startReplay(play, recording);
    // The first turn round of a snake of 30 segments or more: the start,
    // middle and end of its freeze. A frame is in the freeze when the pulse
    // runs before or after its step (the last one ends it).
    int frozen = 0;
    int compared = 0;
    for (bool alive = true; alive && compared < 3;) {
        const float pulseBefore = play.reversalPulse;
        alive = runReplayedFrame(play);
        if (!alive) break;
        const bool inFreeze = (pulseBefore > 0.0f || play.reversalPulse > 0.0f) && play.snake.size() >= 30;
        runBoardPass(play, target, 0, textures, realFont());
        if (!inFreeze) continue;
        ++frozen;
        if (frozen == 1 || frozen == 12 || frozen == 24) {
            compare(play, "reversal_frame_" + std::to_string(frozen));
            ++compared;
        }
    }
    EXPECT_EQ(compared, 3);
}

// A snake across the seam, its narrow place on the segments either side of
// it, where the radius carries into the margin of the next wrap copy.
TEST_F(KeptPictures, TheNarrowPlaceAcrossTheSeamIsDrawnAsBefore) {
    PlayState play;
    for (int i = 0; i < 40; ++i) {
        Segment s;
        s.x = static_cast<float>(std::fmod(30.0 - 4.5 * i + 512.0, 512.0));
        s.y = static_cast<float>(128.0 + 20.0 * std::sin(i * 0.2));
        s.scale = static_cast<float>(1.0 - i / 39.0 * 0.5);
        play.snake.push_back(s);
    }
    play.food = {400.0f, 60.0f, 0.0f, 4};
    play.headAngle = 0;
    play.frameTime = 1.0 / 60.0;
    for (float pulse : {40.0f, 41.5f, 43.0f}) {
        // As in a frame: the pulse steps on, then the board is drawn.
        play.reversalPulse = pulse;
        advanceReversalPulse(play);
        runBoardPass(play, target, 0, textures, realFont());
        compare(play, "seam_pulse_" + std::to_string(static_cast<int>(pulse * 10)));
    }
}

}  // namespace
