#pragma once
// Game controllers through SDL, plugged in and pulled out at any time; they
// reach the game only as keys in the key state.
#include <SDL2/SDL.h>

#include <array>

struct KeyState;

struct Gamepads {
    std::array<SDL_GameController*, 8> open{};
    // The arrow each pad's left stick stands for on its two axes, so that a
    // wobbling stick makes one press when it enters a direction, not one per
    // motion event.
    std::array<std::array<int, 2>, 8> stickKeys{};
    bool started = false;
};

// Starts SDL's game controller support. Pads already plugged in arrive as
// events like any later one. Without it the game simply has no pads.
void startGamepads(Gamepads& pads);
// Opens and closes pads as they come and go, and notes presses that may be
// let go before the next present. True when a pad was used: a button went
// down, or the left stick left the middle for a direction.
bool handleGamepadEvent(Gamepads& pads, KeyState& keys, const SDL_Event& event);
// True while any pad is open.
bool anyPadOpen(const Gamepads& pads);
// Adds what the open pads hold now; call after the keyboard refresh.
void addHeldPadKeys(const Gamepads& pads, KeyState& keys);
