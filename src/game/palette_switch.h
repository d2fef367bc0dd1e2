#pragma once

struct Program;

// C (or a pad's X) switches between the design's colours and the contrast
// palette: the pictures are made again from the kept noise, so no random
// number is drawn. On a still screen the choice is kept for later runs at
// once; in play at the next still moment (saveChoices), so no frame waits for
// the disk. While paused the board is drawn again at once, nothing moved, so
// the still picture shows the new colours.
void switchPalette(Program& program, bool inPlay, bool paused);

// Keeps the choices turned over in play for later runs.
void saveChoices(Program& program);
