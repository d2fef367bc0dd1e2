#pragma once
#include "state/snake.h"
#include "state/vec3.h"

struct PlayState;

void resetSnake(Snake& snake);
void appendSegment(Snake& snake);
void reverseSnake(Snake& snake, Vec3f& heading);

// How long the snake stands still while it turns round.
double reversalFreezeSeconds();

// Moves the reversal pulse on by the frame time, once per play frame the game
// survives, before the frame is drawn.
void advanceReversalPulse(PlayState& play);

// The steps of the game update that concern the snake, in the order
// runGameUpdate runs them.

// At a new whole pixel: polls the arrow keys (turns and reversals) and then
// runs the trail step if its timer has run out.
void runTurnCheck(PlayState& play);
// Every element takes the place of the one before it; the head stays.
void stepTrail(Snake& snake);
void taperSnake(Snake& snake);
// Moves the head by heading and frameTime and records the heading in it.
void moveHead(PlayState& play);
// True when the head has reached the stone rows at the bottom or the top.
bool headHitsEdge(const PlayState& play);
// Carries the head across the left or right edge of the board.
void wrapHead(PlayState& play);
// True when the head lies on a body segment from element 2 on.
bool headHitsBody(const PlayState& play);
