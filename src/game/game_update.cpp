#include "game/game_update.h"

#include "game/play_state.h"

// Placeholder until the rules land.
bool runGameUpdate(PlayState&) { return true; }
