#pragma once

// Where in the window's drawable the 1024 x 768 picture goes: the largest
// 4:3 rectangle that fits, centred; the rest stays black.
struct FrameViewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

FrameViewport letterboxViewport(int drawableWidth, int drawableHeight);

// Sets the GL viewport to the letterboxed picture for the drawable as of the
// last present. Every pass and the title draw into this one viewport.
void setFrameViewport();
