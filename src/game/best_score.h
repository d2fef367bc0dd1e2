#pragma once

struct PlayState;

// At a game over: a score above the best becomes the best and is kept for
// later runs. Either way the death is noted, as a record or not.
void noteFinalScore(PlayState& play);
