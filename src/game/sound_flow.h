#pragma once

struct Program;

// The player's sound choice and what the game last made for the output.
struct SoundChoice {
    bool on = true;            // the player's choice; M turns it over
    bool outputFound = false;  // the output opened when sound was last settled
    int effectsRate = 0;       // the sample rate the kept effects were made at; 0 for none yet
    bool unsaved = false;      // turned over in play, not yet kept for later runs
};

// Brings the output in line with the choice: with sound on, opens it if it
// is not open (this blocks) and makes the effects for it the first time;
// with sound off, closes it. Only where the game stands still: start-up, the
// title, a pause.
void settleSound(Program& program);
// M (or a pad's Y) turns sound off or on. On a still screen the output
// follows at once and the choice is kept for later runs; in play the sound
// stops at once but nothing waits for the output or the disk: both follow
// at the next still moment (saveChoices, settleSound).
void switchSound(Program& program, bool inPlay);
// Plays the frame's events, if sound is on, and clears them. A pause stops
// what is playing first.
void handOverSounds(Program& program);
