#pragma once
#include <cstdint>

#include "state/carried_over.h"
#include "state/food.h"
#include "state/game_events.h"
#include "state/game_input.h"
#include "state/snake.h"
#include "state/vec3.h"

// Everything the rules change and the two passes draw during a run. The entry
// routine owns it; what a game carries over from the one before is the
// CarriedOver part, which game start leaves alone.
struct PlayState : CarriedOver {
    Snake snake;
    Food food;
    Vec3f heading{2.0f, 0.0f, 0.0f};
    std::int32_t headAngle = 0;
    float wiggle = 0.0f;
    double lastClock = 0.0;
    double frameTime = 0.0;
    float viewX = 0.0f;
    float viewY = 0.0f;
    float segmentRadius = 8.0f;
    bool gamePlayed = false;
    int bestScore = -1;  // kept between runs; -1 until there is one
    GameEvents events;   // this frame's, for the loop to hand on
    GameInput input;     // keys, time steps and random numbers, live or replayed
    bool operator==(const PlayState&) const = default;
};

inline CarriedOver& carriedOver(PlayState& play) { return play; }
inline const CarriedOver& carriedOver(const PlayState& play) { return play; }
