#pragma once

struct PlayState;

// At a game over: a score above the best is kept for later runs, and the
// best becomes whatever is kept then, this game's or another running game's.
// Either way the death is noted, as a record or not.
void noteFinalScore(PlayState& play);
