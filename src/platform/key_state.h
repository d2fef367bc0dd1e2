#pragma once
#include <array>

// The key state the game reads, by PC set-1 scan code. Held keys are
// refreshed at every present (or wait) while the window has focus. A press
// seen as an event stays pending until the game reads that key, so a tap
// shorter than a frame reaches a rule that reads keys only now and then.
// Any change of focus clears both.
struct KeyState {
    std::array<bool, 128> held{};
    std::array<bool, 128> pending{};
    bool focused = false;
};

// PC scan code for an SDL scancode, or 0 for keys the game does not know.
int pcScanCodeFor(int sdlScancode);

// A press seen as an event, kept until the key is read.
void notePress(KeyState& keys, int scanCode);
// sdlKeyboard is SDL's array of held keys indexed by SDL scancode.
void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount);
// A key held on some other device (a pad), added after the refresh.
void addHeldKey(KeyState& keys, int scanCode);
void noteFocusChange(KeyState& keys, bool focused);
// Held, or pressed since the last read of this key; the read clears the press.
bool readKey(KeyState& keys, int scanCode);
// Presses not read yet are forgotten: made for the state the program left.
void dropPendingPresses(KeyState& keys);
