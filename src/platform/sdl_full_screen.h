#pragma once
// Switching between the window at its own size and full screen on the
// desktop's own mode (the screen's mode is never changed).
#include <SDL2/SDL.h>

struct WindowMode {
    int width = 0;  // the window's own size
    int height = 0;
    // Where the window last stood at its own size, to put it back there.
    bool placed = false;
    int x = 0;
    int y = 0;
};

// Read from the window's flags: a window manager may end full screen by itself.
bool isFullScreen(SDL_Window* window);
// False when SDL refused; the mode then stays as it was.
bool setFullScreen(SDL_Window* window, WindowMode& mode, bool on);
// Maximising means full screen.
void handleMaximise(SDL_Window* window, WindowMode& mode);
// Remembers the window's place while it stands at its own size.
void notePlacement(SDL_Window* window, WindowMode& mode);
