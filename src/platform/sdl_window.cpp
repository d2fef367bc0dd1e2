// The window, its GL context, presenting and key state, over SDL2.
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/error_line.h"
#include "platform/key_state.h"
#include "platform/platform.h"
#include "platform/process_setup.h"
#include "platform/sdl_full_screen.h"
#include "platform/sdl_gamepads.h"
#include "platform/x_errors.h"

namespace {

struct Display {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    WindowMode mode;
    PixelSize drawable;
    KeyState keys;
    Gamepads pads;
    bool lookedAway = false;
    bool wantsPicture = false;
    bool keyPressed = false;  // in the last present's or wait's events
};

Display display;
int requestedDepthBits = 24;
int requestedSamples = 0;
bool refreshWait = true;

// The program file's name without directory and extension.
std::string programName() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string name = length > 0 ? std::string(path, static_cast<size_t>(length)) : "tubewyrm";
    if (auto slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// The display under the mouse pointer, or the nearest one to it.
int displayUnderPointer() {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect r;
        if (SDL_GetDisplayBounds(i, &r) != 0) continue;
        long dx = x < r.x ? r.x - x : (x >= r.x + r.w ? x - (r.x + r.w - 1) : 0);
        long dy = y < r.y ? r.y - y : (y >= r.y + r.h ? y - (r.y + r.h - 1) : 0);
        long distance = dx * dx + dy * dy;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void setContextAttributes(int samples) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, requestedDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
}

// One window with a current context, trying 4, 2 and then no samples.
bool makeWindowAndContext(Uint32 extraFlags, const std::string& title, int display_index) {
    const int sampleChoices[] = {requestedSamples, 2, 0};
    for (int samples : sampleChoices) {
        if (samples > requestedSamples) continue;
        setContextAttributes(samples);
        SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(display_index),
                                              SDL_WINDOWPOS_CENTERED_DISPLAY(display_index), display.mode.width,
                                              display.mode.height, SDL_WINDOW_OPENGL | extraFlags);
        if (!window) continue;
        SDL_GLContext context = SDL_GL_CreateContext(window);
        if (!context) {
            SDL_DestroyWindow(window);
            continue;
        }
        display.window = window;
        display.context = context;
        return true;
    }
    return false;
}

// A driver the user did not ask for that shows nothing and takes no keys.
bool isBlindFallback(const char* driver) {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && *asked) return false;
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// True for events after which the window wants a new picture.
bool windowWantsPicture(Uint8 windowEvent) {
    switch (windowEvent) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: return true;
    default: return false;
    }
}

void handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: noteFocusChange(display.keys, true); break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        noteFocusChange(display.keys, false);
        display.lookedAway = true;
        break;
    // SDL reports a window merely covered by another as nothing at all.
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN: display.lookedAway = true; break;
    case SDL_WINDOWEVENT_MAXIMIZED: handleMaximise(display.window, display.mode); break;
    default: break;  // the close button does nothing
    }
    if (windowWantsPicture(event.event)) display.wantsPicture = true;
}

// What each key means in the layout SDL has now; read again when the player
// switches layouts while the game runs.
void readKeyLayout() {
    std::array<int, SDL_NUM_SCANCODES> keycodes{};
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
        keycodes[static_cast<std::size_t>(scancode)] = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
    display.keys.layout = keyLayoutFor(keycodes);
}

// True when a key the game knows was pressed.
bool handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT: handleWindowEvent(event.window); return false;
    case SDL_KEYMAPCHANGED: readKeyLayout(); return false;
    case SDL_KEYDOWN: {
        if (event.key.repeat) return false;
        const bool altEnter = event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT);
        if (altEnter) {
            setFullScreen(display.window, display.mode, !isFullScreen(display.window));
            display.wantsPicture = true;
        }
        const SDL_Scancode scancode = event.key.keysym.scancode;
        const bool modifier = scancode >= SDL_SCANCODE_LCTRL && scancode <= SDL_SCANCODE_RGUI;
        if (display.keys.focused && !altEnter && !modifier) display.keyPressed = true;
        const int code = altEnter ? 0 : pcScanCodeFor(display.keys.layout, scancode);
        notePress(display.keys, code);
        return code != 0;
    }
    default: {  // SDL_QUIT from the close button is ignored too
        const auto pendingBefore = display.keys.pending;
        // The stick counts as much as a button: it keeps the title from its replay, or ends one.
        if (handleGamepadEvent(display.pads, display.keys, event) && display.keys.focused) display.keyPressed = true;
        return display.keys.pending != pendingBefore;
    }
    }
}

// What present and waitForEvents do after the swap or the wait: the rest of
// the events, then held keys, placement and size as they are now.
bool handleEventsAndRefresh(const SDL_Event* first) {
    display.keyPressed = false;
    bool pressed = first && handleEvent(*first);
    SDL_Event event;
    while (SDL_PollEvent(&event)) pressed = handleEvent(event) || pressed;
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    refreshKeyState(display.keys, held, count);
    addHeldPadKeys(display.pads, display.keys);
    notePlacement(display.window, display.mode);
    SDL_GL_GetDrawableSize(display.window, &display.drawable.width, &display.drawable.height);
    return pressed;
}

}  // namespace

void requestDepthBits(int bits) { requestedDepthBits = bits; }
void requestSamples(int samples) { requestedSamples = samples; }
void requestNoRefreshWait() { refreshWait = false; }

bool openDisplay(int width, int height, int /*colorBits: always 8 bits a channel*/) {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (!asked || !*asked) {
        const char* x = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        bool haveX = x && *x;
        bool haveWayland = wayland && *wayland;
        if (!haveX && !haveWayland) {
            printErrorLine("cannot open the display: DISPLAY is not set");
            return false;
        }
        // Never SDL's window-less drivers: nothing would show and no key could end the game.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, haveX && haveWayland ? "x11,wayland" : haveX ? "x11" : "wayland");
    }
    // SDL would turn SIGINT and SIGTERM into a quit event, which the game
    // ignores; setUpProcess has its own handlers for them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    tolerateWakeUpsToClosedWindows();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        const char* x = std::getenv("DISPLAY");
        printErrorLine(std::string("cannot open the display") + (x ? " " : "") + (x ? x : "") + ": " + SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (isBlindFallback(driver)) {
        const char* x = std::getenv("DISPLAY");
        printErrorLine(std::string("cannot open the X display (DISPLAY=") + (x ? x : "unset") +
                       "): no window could be shown");
        SDL_Quit();
        return false;
    }
    display.mode.width = width;
    display.mode.height = height;
    std::string title = programName();
    int index = displayUnderPointer();
    // Resizable, so that window managers offer the maximise box.
    if (!makeWindowAndContext(SDL_WINDOW_RESIZABLE, title, index)) {
        if (!makeWindowAndContext(SDL_WINDOW_FULLSCREEN_DESKTOP, title, index)) {
            printErrorLine("cannot make an OpenGL window on the display");
            SDL_Quit();
            return false;
        }
    }
    // Below half size the board, drawn in the corner without off-screen
    // rendering, would no longer fit.
    SDL_SetWindowMinimumSize(display.window, width / 2, height / 2);
    // The game reads keys, never text: no input method between them and it.
    SDL_StopTextInput();
    // Paced by the screen where the driver allows, unless asked to draw as fast as it can.
    if (!refreshWait)
        static_cast<void>(SDL_GL_SetSwapInterval(0));
    else if (SDL_GL_SetSwapInterval(-1) != 0)
        static_cast<void>(SDL_GL_SetSwapInterval(1));
    readKeyLayout();
    startGamepads(display.pads);
    SDL_RaiseWindow(display.window);
    SDL_GL_GetDrawableSize(display.window, &display.drawable.width, &display.drawable.height);
    int samples = 0;
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples);
    if (samples > 0) glEnable(0x809D /* GL_MULTISAMPLE */);
    display.keys.focused = (SDL_GetWindowFlags(display.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    return true;
}

void present() {
    if (!display.window) return;
    SDL_GL_SwapWindow(display.window);
    // Events first, so the keys read below are those of this present.
    handleEventsAndRefresh(nullptr);
}

// The first event within the timeout. With a pad open SDL's own wait looks
// at the pad every millisecond; a still screen needs a look every 10 ms at
// most, which keeps a machine with a pad left plugged in near idle.
bool waitForFirstEvent(SDL_Event& first, int timeoutMilliseconds) {
    if (!anyPadOpen(display.pads)) return SDL_WaitEventTimeout(&first, timeoutMilliseconds) == 1;
    constexpr Uint32 padLookMilliseconds = 10;
    const Uint32 end = SDL_GetTicks() + static_cast<Uint32>(std::max(0, timeoutMilliseconds));
    for (;;) {
        if (SDL_PollEvent(&first) == 1) return true;
        const Uint32 now = SDL_GetTicks();
        if (static_cast<Sint32>(end - now) <= 0) return false;
        SDL_Delay(std::min(padLookMilliseconds, end - now));
    }
}

bool waitForEvents(int timeoutMilliseconds) {
    if (!display.window) return false;
    SDL_Event first;
    const bool arrived = waitForFirstEvent(first, timeoutMilliseconds);
    const bool pressed = handleEventsAndRefresh(arrived ? &first : nullptr);
    const bool wanted = display.wantsPicture;
    display.wantsPicture = false;
    return wanted || pressed;
}

bool keyDown(int scanCode) { return readKey(display.keys, scanCode); }

void dropPendingPresses() { dropPendingPresses(display.keys); }

bool windowLookedAway() {
    const bool lookedAway = display.lookedAway;
    display.lookedAway = false;
    return lookedAway;
}

void allowScreensaver(bool allowed) {
    if (allowed == (SDL_IsScreenSaverEnabled() == SDL_TRUE)) return;
    if (allowed)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

bool anyKeyPressed() { return display.keyPressed; }

bool windowInView() {
    if (!display.window) return false;
    const Uint32 flags = SDL_GetWindowFlags(display.window);
    return (flags & SDL_WINDOW_INPUT_FOCUS) != 0 && (flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

bool windowShown() {
    return display.window != nullptr &&
           (SDL_GetWindowFlags(display.window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

PixelSize drawableSize() { return display.drawable; }

void endProgram(int status) {
    // At the end there is nothing left to do with output that cannot be written.
    static_cast<void>(std::fflush(stdout));
    if (display.window) {
        // Destroying the window first takes it out of full screen, so the desktop gets its screen back.
        SDL_GL_DeleteContext(display.context);
        SDL_DestroyWindow(display.window);
        display.window = nullptr;
    }
    SDL_Quit();
    endBySignalIfAsked();
    std::exit(status);
}
