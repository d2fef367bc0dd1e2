#pragma once

struct PlayState;

// At a game over: a score above the best is kept for later runs, with the
// game's recording beside it, and the best becomes whatever is kept then,
// this game's or another running game's. Either way the death is noted, as a
// record or not. True when this game is now the kept best game.
bool noteFinalScore(PlayState& play);
