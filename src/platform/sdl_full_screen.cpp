#include "platform/sdl_full_screen.h"

namespace {

bool atOwnSize(SDL_Window* window, const WindowMode& mode) {
    const Uint32 changed = SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED;
    if (isFullScreen(window) || (SDL_GetWindowFlags(window) & changed) != 0) return false;
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return width == mode.width && height == mode.height;
}

}  // namespace

bool isFullScreen(SDL_Window* window) {
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) return false;
    // SDL 2.26 keeps its flag when the window manager ends full screen by
    // itself; the window then no longer covers its display.
    const int index = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (index < 0 || SDL_GetDisplayBounds(index, &bounds) != 0) return true;
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    return x <= bounds.x && y <= bounds.y && width >= bounds.w && height >= bounds.h;
}

void notePlacement(SDL_Window* window, WindowMode& mode) {
    if (!atOwnSize(window, mode)) return;
    SDL_GetWindowPosition(window, &mode.x, &mode.y);
    mode.placed = true;
}

bool setFullScreen(SDL_Window* window, WindowMode& mode, bool on) {
    if (on == isFullScreen(window)) return true;
    if (on) {
        notePlacement(window, mode);
        // SDL would take a stale flag for full screen and do nothing.
        if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) SDL_SetWindowFullscreen(window, 0);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    } else {
        if (SDL_SetWindowFullscreen(window, 0) != 0) return false;
        // Leaving full screen (or a maximise that became full screen) can
        // keep the screen's size; put back the window's own size and place.
        SDL_RestoreWindow(window);
        SDL_SetWindowSize(window, mode.width, mode.height);
        if (mode.placed) {
            SDL_SetWindowPosition(window, mode.x, mode.y);
        } else {
            int index = SDL_GetWindowDisplayIndex(window);
            SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(index < 0 ? 0 : index),
                                  SDL_WINDOWPOS_CENTERED_DISPLAY(index < 0 ? 0 : index));
        }
    }
    return true;
}

void handleMaximise(SDL_Window* window, WindowMode& mode) {
    if (isFullScreen(window)) return;
    // Undo the maximise first, so leaving full screen later does not land
    // on a maximised window.
    SDL_RestoreWindow(window);
    setFullScreen(window, mode, true);
}
