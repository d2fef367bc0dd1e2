#pragma once
#include <array>

// The key state the game reads, by PC set-1 scan code. It only changes at a
// present: refreshed from the keyboard while the window has focus, and
// cleared by any change of focus.
struct KeyState {
    std::array<bool, 128> down{};
    bool focused = false;
};

// PC scan code for an SDL scancode, or 0 for keys the game does not know.
int pcScanCodeFor(int sdlScancode);

// sdlKeyboard is SDL's array of held keys indexed by SDL scancode.
void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount);
void noteFocusChange(KeyState& keys, bool focused);
bool isKeyDown(const KeyState& keys, int scanCode);
