#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/sound_flow.h"
#include "platform/platform.h"
#include "render/board_target.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/texture_images.h"
#include "state/play_state.h"
#include "state/recording.h"

// Whether a kept game can be watched, known once its recording has run
// through the rules, which waits until it is first wanted.
enum class Watch : std::uint8_t { unchecked, offered, refused };

// The player's best games as the "Best games" screen lists them.
struct KeptGames {
    BestGames table;                    // best first
    std::vector<Watch> watch;           // one per row
    std::vector<Recording> recordings;  // one per row, read by its check; a replay borrows it
    std::size_t nextIdleReplay = 0;     // the row the title's idle cycle tries next
};

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
    KeptGames kept;
    // The kept game last replayed; apart from play, so a replay leaves the
    // run's own game as it was.
    PlayState replay;
};

// The texture the cylinder pass wraps: the target's, or the copy's.
inline std::uint32_t boardTexture(const Program& program) {
    return program.boardTarget.colorTexture != 0 && program.boardTarget.width != 0 ? program.boardTarget.colorTexture
                                                                                   : program.boardCopyTexture;
}
