#include "game/snake.h"

#include "game/play_state.h"

// Placeholder until the rules land.
void resetSnake(Snake& snake) {
    snake.assign(2, Segment{});
    for (Segment& s : snake) {
        s.x = 256.0f;
        s.y = 128.0f;
    }
}

void appendSegment(Snake& snake) {
    Segment s;
    s.x = -1000.0f;
    s.y = -1000.0f;
    snake.push_back(s);
}

void reverseSnake(Snake&, Vec3f&) {}

void advanceReversalPulse(PlayState&) {}
