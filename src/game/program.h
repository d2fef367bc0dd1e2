#pragma once
#include <cstdint>

#include "game/sound_flow.h"
#include "render/board_target.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/texture_images.h"
#include "state/play_state.h"
#include "state/recording.h"

// All state of a run, owned by the entry routine and handed out by reference.
struct Program {
    TextureSet textures;
    Font font;
    BoardTarget boardTarget;
    std::uint32_t boardCopyTexture = 0;  // only without off-screen rendering
    LightParams light;
    PlayState play;
    TextureNoise textureNoise;     // kept from start-up for making the pictures again
    bool contrastPalette = false;  // the colours start-up makes the pictures in; C switches
    bool paletteUnsaved = false;   // switched in play, not yet kept for later runs
    SoundChoice sound;
    // The kept best game, checked against the rules; replayed on the title.
    Recording bestGame;
    bool bestGameReplayable = false;
    bool bestGameChecked = false;  // run through the rules since it was read
    // The best game as the title last replayed it; apart from play, so a
    // replay leaves the run's own game as it was.
    PlayState replay;
};

// The texture the cylinder pass wraps: the target's, or the copy's.
inline std::uint32_t boardTexture(const Program& program) {
    return program.boardTarget.colorTexture != 0 && program.boardTarget.width != 0 ? program.boardTarget.colorTexture
                                                                                   : program.boardCopyTexture;
}
