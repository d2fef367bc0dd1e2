#pragma once
#include <array>

// The key state the game reads, by PC set-1 scan code. It only changes at a
// present: refreshed from the keyboard and pads while the window has focus,
// and cleared by any change of focus. A key pressed since the last refresh
// reads as held at the next one even if it was let go in between, so a tap
// shorter than a frame still reaches the game.
struct KeyState {
    std::array<bool, 128> down{};
    std::array<bool, 128> pressedSinceRefresh{};
    bool focused = false;
};

// PC scan code for an SDL scancode, or 0 for keys the game does not know.
int pcScanCodeFor(int sdlScancode);

// A press seen as an event, kept until the next refresh.
void notePress(KeyState& keys, int scanCode);
// sdlKeyboard is SDL's array of held keys indexed by SDL scancode.
void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount);
// A key held on some other device (a pad), added after the refresh.
void addHeldKey(KeyState& keys, int scanCode);
void noteFocusChange(KeyState& keys, bool focused);
bool isKeyDown(const KeyState& keys, int scanCode);
