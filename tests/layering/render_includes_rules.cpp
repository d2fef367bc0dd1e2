// Built by the test command only to see it fail: the renderer draws the game
// and may not reach into its rules.
#include "render/board_pass.h"
#include "rules/snake_rules.h"

void wrongWay(Snake& snake) { resetSnake(snake); }
