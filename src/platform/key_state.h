#pragma once
#include <array>
#include <span>

// SDL's scancodes, SDL_NUM_SCANCODES of them.
inline constexpr int sdlScancodeCount = 512;

// The game's key, by PC set-1 scan code (0 for none), for each SDL scancode in
// the player's keyboard layout. Letters that name their action go by what the
// key types; the arrows, the keypad and W A S D go by place.
using KeyLayout = std::array<unsigned char, sdlScancodeCount>;

// keycodes[scancode] is what that key types now, as SDL_GetKeyFromScancode
// reports it; keys missing from the span type nothing, so an empty span gives
// every key its place on a US keyboard.
KeyLayout keyLayoutFor(std::span<const int> keycodes);

// The key state the game reads, by PC set-1 scan code. Held keys are
// refreshed at every present (or wait) while the window has focus. A press
// seen as an event stays pending until the game reads that key, so a tap
// shorter than a frame reaches a rule that reads keys only now and then.
// Any change of focus clears both.
struct KeyState {
    std::array<bool, 128> held{};
    std::array<bool, 128> pending{};
    bool focused = false;
    KeyLayout layout = keyLayoutFor({});
};

// PC scan code for an SDL scancode in the layout, or 0 for keys the game does not know.
int pcScanCodeFor(const KeyLayout& layout, int sdlScancode);

// A press seen as an event, kept until the key is read.
void notePress(KeyState& keys, int scanCode);
// sdlKeyboard is SDL's array of held keys indexed by SDL scancode, read
// through the layout in keys.
void refreshKeyState(KeyState& keys, const unsigned char* sdlKeyboard, int sdlKeyCount);
// A key held on some other device (a pad), added after the refresh.
void addHeldKey(KeyState& keys, int scanCode);
void noteFocusChange(KeyState& keys, bool focused);
// Held, or pressed since the last read of this key; the read clears the press.
bool readKey(KeyState& keys, int scanCode);
// Presses not read yet are forgotten: made for the state the program left.
void dropPendingPresses(KeyState& keys);
