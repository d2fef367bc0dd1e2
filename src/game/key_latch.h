#pragma once
#include "platform/platform.h"

// A key that acts once per press (P, C, M): held down, it does not act again.
struct KeyLatch {
    int scanCode = 0;
    bool wasDown = false;
};

// True on the read that first finds the key down since it was last up.
inline bool pressedOnce(KeyLatch& latch) {
    const bool down = keyDown(latch.scanCode);
    const bool pressed = down && !latch.wasDown;
    latch.wasDown = down;
    return pressed;
}

// A key already held when a screen starts does not act there.
inline void holdOver(KeyLatch& latch) { latch.wasDown = keyDown(latch.scanCode); }
