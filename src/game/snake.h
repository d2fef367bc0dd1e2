#pragma once
#include <vector>

#include "game/vec3.h"

struct Segment {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float dx = 0.0f;
    float dy = 0.0f;
    float dz = 0.0f;
    float scale = 0.0f;
};

// Element 0 is the head; the upper index is the score.
using Snake = std::vector<Segment>;

inline int upperIndex(const Snake& snake) { return static_cast<int>(snake.size()) - 1; }

struct PlayState;

void resetSnake(Snake& snake);
void appendSegment(Snake& snake);
void reverseSnake(Snake& snake, Vec3f& heading);

// How long the snake stands still while it turns round.
double reversalFreezeSeconds();

// The board pass moves the reversal pulse on once per play frame.
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
