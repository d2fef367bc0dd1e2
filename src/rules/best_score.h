#pragma once

struct PlayState;

// At a game over: the game is kept among the player's best games when its
// score enters them, with its length and recording, and the best becomes
// whatever is kept then, this game's or another running game's. Either way
// the death is noted, as a record or not.
void noteFinalScore(PlayState& play);
