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

// The board pass moves the reversal pulse on once per play frame.
void advanceReversalPulse(PlayState& play);
