#pragma once
#include <cstdint>

#include "game/snake.h"
#include "game/vec3.h"

struct Food {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::int32_t value = 0;
};

void placeFood(Food& food, const Vec3f& origin, const Vec3f& extent, const Snake& snake);

// The rectangle the food's centre is placed in, for a board of the given size.
Vec3f foodOrigin();
Vec3f foodExtent(std::uint32_t boardWidth, std::uint32_t boardHeight);
