#pragma once
#include <cstdint>

#include "game/food.h"
#include "game/game_events.h"
#include "game/game_input.h"
#include "game/snake.h"
#include "game/vec3.h"

// Everything the rules and the two passes share during a run. The entry
// routine owns it; it is not reset between games except where game start says.
struct PlayState {
    Snake snake;
    Food food;
    Vec3f heading{2.0f, 0.0f, 0.0f};
    std::int32_t headAngle = 0;
    bool movingHorizontally = true;
    bool movingVertically = false;
    float wiggle = 0.0f;
    float reversalPulse = 0.0f;
    Vec3f lastPollPosition;
    double lastClock = 0.0;
    double frameTime = 0.0;
    double playTime = 0.0;
    double nextTrailStep = 0.0;  // on playTime's scale
    float viewX = 0.0f;
    float viewY = 0.0f;
    float segmentRadius = 8.0f;
    bool gamePlayed = false;
    int bestScore = -1;  // kept between runs; -1 until there is one
    std::uint32_t boardWidth = 512;
    std::uint32_t boardHeight = 256;
    GameEvents events;  // this frame's, for the loop to hand on
    GameInput input;    // keys, time steps and random numbers, live or replayed
};
