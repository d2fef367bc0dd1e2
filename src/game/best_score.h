#pragma once

struct PlayState;

// At a game over: a score above the best becomes the best and is kept for
// later runs, with the game's recording beside it. True when this game is
// now the kept best game.
bool noteFinalScore(PlayState& play);
