#pragma once
#include <cstdint>

#include "state/food.h"
#include "state/snake.h"
#include "state/vec3.h"

// placeFood gives up drawing after this many rejected places and takes the
// first free whole pixel of the rectangle instead, so it always ends.
inline constexpr int foodPlacementAttempts = 1'000'000;

struct GameInput;
struct PlayState;

// Draws three numbers an attempt: x, y and the value. The first form draws
// from the platform without recording.
void placeFood(Food& food, const Vec3f& origin, const Vec3f& extent, const Snake& snake);
void placeFood(Food& food, const Vec3f& origin, const Vec3f& extent, const Snake& snake, GameInput& input);

// The rectangle the food's centre is placed in, for a board of the given size.
Vec3f foodOrigin();
Vec3f foodExtent(std::uint32_t boardWidth, std::uint32_t boardHeight);

// Last step of the game update: a head within reach eats the food, the snake
// grows by its value and a new food is placed. True when it was eaten.
bool runFoodTest(PlayState& play);
