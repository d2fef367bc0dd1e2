#pragma once

struct Program;

// The player's sound choice and what the game last made for the output.
struct SoundChoice {
    bool on = true;       // the player's choice; M turns it over
    int effectsRate = 0;  // the sample rate the kept effects were made at; 0 for none yet
};

// With sound on, opens the output if it is not open (this blocks: on the
// title and on M only) and makes the effects for it the first time.
void refreshSound(Program& program);
// M (or a pad's Y) turns sound off or on and keeps the choice for later runs.
void switchSound(Program& program);
// Plays the frame's events, if sound is on, and clears them. A pause stops
// what is playing first.
void handOverSounds(Program& program);
