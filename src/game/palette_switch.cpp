#include "game/palette_switch.h"

#include "game/program.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/palette.h"

void switchPalette(Program& program, bool inPlay, bool paused) {
    program.contrastPalette = !program.contrastPalette;
    recolourTextures(program.textures, program.textureNoise, paletteFor(program.contrastPalette));
    if (inPlay)
        program.paletteUnsaved = !program.paletteUnsaved;
    else
        keepPaletteSetting(program.contrastPalette);
    if (paused)
        runBoardPass(program.play, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
}

void saveChoices(Program& program) {
    if (program.paletteUnsaved) keepPaletteSetting(program.contrastPalette);
    if (program.sound.unsaved) keepSoundSetting(program.sound.on);
    program.paletteUnsaved = false;
    program.sound.unsaved = false;
}
