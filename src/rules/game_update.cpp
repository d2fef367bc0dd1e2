#include "rules/game_update.h"

#include "rules/food_rules.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"

bool runGameUpdate(PlayState& play) {
    runTurnCheck(play);
    taperSnake(play.snake);
    moveHead(play);
    if (headHitsEdge(play)) return false;
    wrapHead(play);
    if (headHitsBody(play)) return false;
    runFoodTest(play);
    return true;
}
