#pragma once

// When a screen that stands still (the title, a paused game) draws: only when
// something changed or, if it pulses, when the pulse is due, never more than
// pulsePicturesPerSecond, and never while the window is minimised or hidden.
// In between the loop waits for events, so keys and signals still act at once.
struct StillScreen {
    bool changed = true;  // the window or what it shows changed since the last picture
    bool pulsing = false;
    double nextPulse = 0.0;
};

inline constexpr double pulsePicturesPerSecond = 20.0;

// True when a picture is due now. Otherwise it has waited for events, at most
// until the next pulse, and noted whether they asked for a picture.
bool stillPictureDue(StillScreen& still);
// A picture of the screen was presented just now.
void notePicturePresented(StillScreen& still);
