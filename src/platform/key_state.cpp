#include "platform/key_state.h"

#include <SDL2/SDL_scancode.h>

#include <cstddef>

#include "platform/platform.h"

static_assert(sdlScancodeCount == SDL_NUM_SCANCODES);

namespace {

bool inTable(const KeyState& keys, int scanCode) {
    return scanCode > 0 && scanCode < static_cast<int>(keys.held.size());
}

// A key the player finds by its letter: the key that types it in the layout.
// Adding one is a row here (and its scan code in platform.h).
struct LetterKey {
    int letter;  // SDL's keycode for it: the lower-case letter
    int usPlace;
    int code;
};
constexpr LetterKey letterKeys[] = {
    {'p', SDL_SCANCODE_P, scanP}, {'c', SDL_SCANCODE_C, scanC}, {'m', SDL_SCANCODE_M, scanM},
    {'b', SDL_SCANCODE_B, scanB}, {'e', SDL_SCANCODE_E, scanE},
};

int codeByPlace(int sdlScancode) {
    switch (sdlScancode) {
    case SDL_SCANCODE_ESCAPE: return scanEscape;
    case SDL_SCANCODE_SPACE: return scanSpace;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return scanEnter;
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

bool isLatinLetter(int keycode) { return keycode >= 'a' && keycode <= 'z'; }

}  // namespace

KeyLayout keyLayoutFor(std::span<const int> keycodes) {
    const auto typedBy = [keycodes](int scancode) {
        return scancode < static_cast<int>(keycodes.size()) ? keycodes[static_cast<std::size_t>(scancode)] : 0;
    };
    KeyLayout layout{};
    for (int scancode = 0; scancode < sdlScancodeCount; ++scancode)
        layout[static_cast<std::size_t>(scancode)] = static_cast<unsigned char>(codeByPlace(scancode));
    for (const LetterKey& key : letterKeys) {
        bool typed = false;
        for (int scancode = 0; scancode < sdlScancodeCount; ++scancode) {
            // A key that steers by place keeps steering: Dvorak types e at
            // the US D place, and its E is then the key at the US E place.
            if (typedBy(scancode) != key.letter || codeByPlace(scancode) != 0) continue;
            layout[static_cast<std::size_t>(scancode)] = static_cast<unsigned char>(key.code);
            typed = true;
        }
        // Only where no key types it, as in a layout of another script
        // (Russian, Greek), is the letter the key at its US place, and not
        // even there if that key types another Latin letter. French "," at
        // the US M place stays ",": French has its m elsewhere.
        if (!typed && !isLatinLetter(typedBy(key.usPlace)))
            layout[static_cast<std::size_t>(key.usPlace)] = static_cast<unsigned char>(key.code);
    }
    return layout;
}

int pcScanCodeFor(const KeyLayout& layout, int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= sdlScancodeCount) return 0;
    return layout[static_cast<std::size_t>(sdlScancode)];
}

void notePress(KeyState& keys, int scanCode) {
    if (keys.focused && inTable(keys, scanCode)) keys.pending[scanCode] = true;
}

void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount) {
    if (!keys.focused) return;
    keys.held.fill(false);
    const auto down = [&](int scancode) { return scancode < sdlKeyCount && sdlKeyboard[scancode] != 0; };
    // Alt+Enter switches full screen; its Enter chooses nothing.
    const bool alt = down(SDL_SCANCODE_LALT) || down(SDL_SCANCODE_RALT);
    for (int scancode = 0; scancode < sdlKeyCount; ++scancode) {
        if (!sdlKeyboard[scancode]) continue;
        int code = pcScanCodeFor(keys.layout, scancode);
        if (code > 0 && !(alt && code == scanEnter)) keys.held[code] = true;
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
