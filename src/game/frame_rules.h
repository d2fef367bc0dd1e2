#pragma once

struct PlayState;
struct Recording;

// The rules of one play frame once its time step is in frameTime and
// playTime: sway, view, and the game update unless a reversal pulse runs.
// Food eaten and death pass a checkpoint. False means the game ended.
bool runFrameRules(PlayState& play);

// Sets play up as game start left the recorded game, with the recording
// swapped into play.input (swap it back out when done).
void startReplay(PlayState& play, Recording& recording);

// The next recorded frame's rules: time step, rules, checkpoints. The board
// pass, which advances the reversal pulse, is left to the caller. False when
// the game ended or the replay stopped following (play.input.problem says why).
bool runReplayedFrame(PlayState& play);
