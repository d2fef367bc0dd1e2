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

// Each picture costs the whole window's multisample resolve and swap, about
// 7 ms of CPU on a software renderer however little is drawn: 12.5 a second
// keep the title after a game near 12 % of a core, and four pictures to a
// pulse still read as a glow.
inline constexpr double pulsePicturesPerSecond = 12.5;

// True when a picture is due now. Otherwise it has waited for events, at most
// until the next pulse, and noted whether they asked for a picture.
bool stillPictureDue(StillScreen& still);
// A picture of the screen was presented just now.
void notePicturePresented(StillScreen& still);
