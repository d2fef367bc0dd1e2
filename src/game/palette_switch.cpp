#include "game/palette_switch.h"

#include "game/program.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/palette.h"

void switchPalette(Program& program, bool paused) {
    program.contrastPalette = !program.contrastPalette;
    recolourTextures(program.textures, program.textureNoise, paletteFor(program.contrastPalette));
    keepPaletteSetting(program.contrastPalette);
    if (paused)
        runBoardPass(program.play, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
}
