#include "game/game_update.h"

#include "game/food.h"
#include "game/play_state.h"
#include "game/snake.h"

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
