#include "platform/key_state.h"

#include <SDL2/SDL_scancode.h>

#include "platform/platform.h"

namespace {

bool inTable(const KeyState& keys, int scanCode) {
    return scanCode > 0 && scanCode < static_cast<int>(keys.held.size());
}

}  // namespace

int pcScanCodeFor(int sdlScancode) {
    switch (sdlScancode) {
    case SDL_SCANCODE_ESCAPE: return scanEscape;
    case SDL_SCANCODE_SPACE: return scanSpace;
    case SDL_SCANCODE_P: return scanP;
    case SDL_SCANCODE_C: return scanC;
    case SDL_SCANCODE_M: return scanM;
    // The keypad keys are separate scancodes in SDL whatever NumLock says.
    // W A S D by position, so they sit under the same fingers on any layout.
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_KP_8:
    case SDL_SCANCODE_W: return scanUp;
    case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_KP_2:
    case SDL_SCANCODE_S: return scanDown;
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_KP_4:
    case SDL_SCANCODE_A: return scanLeft;
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_KP_6:
    case SDL_SCANCODE_D: return scanRight;
    default: return 0;
    }
}

void notePress(KeyState& keys, int scanCode) {
    if (keys.focused && inTable(keys, scanCode)) keys.pending[scanCode] = true;
}

void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount) {
    if (!keys.focused) return;
    keys.held.fill(false);
    for (int scancode = 0; scancode < sdlKeyCount; ++scancode) {
        if (!sdlKeyboard[scancode]) continue;
        int code = pcScanCodeFor(scancode);
        if (code > 0) keys.held[code] = true;
    }
}

void addHeldKey(KeyState& keys, int scanCode) {
    if (keys.focused && inTable(keys, scanCode)) keys.held[scanCode] = true;
}

void noteFocusChange(KeyState& keys, bool focused) {
    keys.focused = focused;
    keys.held.fill(false);
    keys.pending.fill(false);
}

bool readKey(KeyState& keys, int scanCode) {
    if (!inTable(keys, scanCode)) return false;
    const bool down = keys.held[scanCode] || keys.pending[scanCode];
    keys.pending[scanCode] = false;
    return down;
}

void dropPendingPresses(KeyState& keys) { keys.pending.fill(false); }
