#pragma once

struct PlayState;

// At a game over: a score above the best becomes the best and is kept for
// later runs.
void noteFinalScore(PlayState& play);
