#pragma once

struct PlayState;
struct Recording;

// At most 5 pixels of head travel a frame: below 20 frames a second the game
// slows down evenly, and a stall (a suspended laptop, a stopped process) does
// not throw the head across the board. Recordings hold no longer step.
inline constexpr double longestFrameTime = 0.05;

// The rules of one play frame once its time step is in frameTime and
// playTime: sway, view, and the game update unless a reversal pulse runs.
// Food eaten and death pass a checkpoint. False means the game ended.
bool runFrameRules(PlayState& play);

// Everything a play frame changes before it is drawn: runFrameRules and, if
// the game lives on, the reversal pulse's step. The play loop, the replay and
// the recording check all move a game on by this. False means the game ended.
bool advancePlayFrame(PlayState& play);

// Sets play up as game start left the recorded game, with the recording
// swapped into play.input (swap it back out when done).
void startReplay(PlayState& play, Recording& recording);

// The next recorded frame: time step, advancePlayFrame, checkpoints. False
// when the game ended or the replay stopped following (play.input.problem
// says why).
bool runReplayedFrame(PlayState& play);
