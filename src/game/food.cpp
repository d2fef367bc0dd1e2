#include "game/food.h"

// Placeholder until the rules land.
void placeFood(Food& food, const Vec3f&, const Vec3f&, const Snake&) { food = Food{}; }

Vec3f foodOrigin() { return {0.0f, 24.0f, 0.0f}; }

Vec3f foodExtent(std::uint32_t boardWidth, std::uint32_t boardHeight) {
    return {static_cast<float>(boardWidth) - 24.0f, static_cast<float>(boardHeight) - 48.0f, 0.0f};
}
