#pragma once

struct Program;

// On a press of C (or a pad's X) switches between the design's colours and
// the contrast palette: the pictures are made again from the kept noise, so no
// random number is drawn. Holding the key switches once. While paused the
// board is drawn again at once, nothing moved, so the still picture shows the
// new colours. True when it switched.
bool switchPaletteIfAsked(Program& program, bool paused);
