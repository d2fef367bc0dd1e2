#include "game/palette_switch.h"

#include "game/program.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/palette.h"

namespace {

// The last play frame's board again: no time passes, so the reversal pulse
// stays where it was.
void redrawStillBoard(Program& program) {
    PlayState& play = program.play;
    const double frameTime = play.frameTime;
    play.frameTime = 0.0;
    play.segmentRadius = 8.0f;
    runBoardPass(play, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    play.frameTime = frameTime;
}

}  // namespace

bool switchPaletteIfAsked(Program& program, bool paused) {
    const bool keyDownNow = keyDown(scanC);
    const bool pressed = keyDownNow && !program.paletteKeyWasDown;
    program.paletteKeyWasDown = keyDownNow;
    if (!pressed) return false;
    program.contrastPalette = !program.contrastPalette;
    recolourTextures(program.textures, program.textureNoise, paletteFor(program.contrastPalette));
    keepPaletteSetting(program.contrastPalette);
    if (paused) redrawStillBoard(program);
    return true;
}
