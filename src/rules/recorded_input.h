#pragma once
#include <cstdint>

#include "state/game_input.h"

struct PlayState;

// From game start on, whatever the rules take goes into play.input's recording,
// starting with what this game carries over from the one before.
void beginRecording(PlayState& play);

// The arrow keys as one poll of the turn check reads them, as ArrowBits.
std::uint8_t readArrowKeys(GameInput& input);
// A uniform number in [0, 1) for the food.
double drawRandom(GameInput& input);
// Counts a play frame and, when recording, keeps its time step.
void noteFrameTime(GameInput& input, double frameTime);
// A replay's next time step; false (with the problem said) when none is left.
bool takeFrameTime(GameInput& input, double& frameTime);
// The head ate or died this frame: recorded, or held against the recording.
void passCheckpoint(GameInput& input, int score, float headX, float headY);
// In a replay, a checkpoint of this frame that the game did not reach is missed.
void checkNoCheckpointSkipped(GameInput& input);
