#include "platform/key_state.h"

#include <SDL2/SDL_scancode.h>

#include "platform/platform.h"

namespace {

bool inTable(const KeyState& keys, int scanCode) {
    return scanCode > 0 && scanCode < static_cast<int>(keys.down.size());
}

}  // namespace

int pcScanCodeFor(int sdlScancode) {
    switch (sdlScancode) {
    case SDL_SCANCODE_ESCAPE: return scanEscape;
    case SDL_SCANCODE_SPACE: return scanSpace;
    case SDL_SCANCODE_P: return scanP;
    case SDL_SCANCODE_M: return scanM;
    // The keypad keys are separate scancodes in SDL whatever NumLock says.
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_KP_8: return scanUp;
    case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_KP_2: return scanDown;
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_KP_4: return scanLeft;
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_KP_6: return scanRight;
    default: return 0;
    }
}

void notePress(KeyState& keys, int scanCode) {
    if (keys.focused && inTable(keys, scanCode)) keys.pressedSinceRefresh[scanCode] = true;
}

void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount) {
    if (!keys.focused) return;
    keys.down = keys.pressedSinceRefresh;
    keys.pressedSinceRefresh.fill(false);
    for (int scancode = 0; scancode < sdlKeyCount; ++scancode) {
        if (!sdlKeyboard[scancode]) continue;
        int code = pcScanCodeFor(scancode);
        if (code > 0) keys.down[code] = true;
    }
}

void addHeldKey(KeyState& keys, int scanCode) {
    if (keys.focused && inTable(keys, scanCode)) keys.down[scanCode] = true;
}

void noteFocusChange(KeyState& keys, bool focused) {
    keys.focused = focused;
    keys.down.fill(false);
    keys.pressedSinceRefresh.fill(false);
}

bool isKeyDown(const KeyState& keys, int scanCode) {
    if (scanCode < 0 || scanCode >= static_cast<int>(keys.down.size())) return false;
    return keys.down[scanCode];
}
