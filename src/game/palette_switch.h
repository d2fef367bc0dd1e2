#pragma once

struct Program;

// C (or a pad's X) switches between the design's colours and the contrast
// palette: the pictures are made again from the kept noise, so no random
// number is drawn, and the choice is kept for later runs. While paused the
// board is drawn again at once, nothing moved, so the still picture shows the
// new colours.
void switchPalette(Program& program, bool paused);
