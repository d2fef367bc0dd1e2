#include "rules/food_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "rules/recorded_input.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"

namespace {

// Attempts tested segment by segment before the blocked pixels are worked
// out once for the rest; a free place is nearly always found long before.
constexpr int directAttempts = 8;
// Larger rectangles are never mapped: no snake can crowd them.
constexpr std::int64_t blockedPixelLimit = std::int64_t{1} << 22;

// Whole pixels where the food may not go, over every pixel a drawn place can
// floor to. Empty when not worked out.
struct BlockedPixels {
    std::int64_t left = 0;
    std::int64_t bottom = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::vector<std::uint8_t> taken;
};

bool tooClose(float x, float y, const Segment& s) {
    return std::fabs(std::floor(static_cast<double>(x)) - std::floor(static_cast<double>(s.x))) < 2.0 &&
           std::fabs(std::floor(static_cast<double>(y)) - std::floor(static_cast<double>(s.y))) < 2.0;
}

bool takenBySnake(float x, float y, const Snake& snake) {
    return std::any_of(snake.begin(), snake.end(), [&](const Segment& s) { return tooClose(x, y, s); });
}

// Lowest and highest whole pixel along one axis that origin + r × extent,
// rounded to a float, can floor to for r in [0, 1).
bool pixelRange(float origin, float extent, std::int64_t& low, std::int64_t& high) {
    const float a = origin;
    const float b = static_cast<float>(static_cast<double>(origin) + extent);
    if (!std::isfinite(a) || !std::isfinite(b)) return false;
    const double lowEdge = std::floor(static_cast<double>(std::min(a, b)));
    const double highEdge = std::floor(static_cast<double>(std::max(a, b)));
    if (highEdge - lowEdge >= static_cast<double>(blockedPixelLimit)) return false;
    low = static_cast<std::int64_t>(lowEdge);
    high = static_cast<std::int64_t>(highEdge);
    return true;
}

void markBlockedPixels(BlockedPixels& blocked, const Vec3f& origin, const Vec3f& extent, const Snake& snake) {
    std::int64_t left, right, bottom, top;
    if (!pixelRange(origin.x, extent.x, left, right) || !pixelRange(origin.y, extent.y, bottom, top)) return;
    const std::int64_t width = right - left + 1;
    const std::int64_t height = top - bottom + 1;
    if (width * height > blockedPixelLimit) return;
    blocked.left = left;
    blocked.bottom = bottom;
    blocked.width = width;
    blocked.height = height;
    blocked.taken.assign(static_cast<std::size_t>(width * height), 0);
    for (const Segment& s : snake) {
        const double sx = std::floor(static_cast<double>(s.x));
        const double sy = std::floor(static_cast<double>(s.y));
        // Written so that NaN and far-off segments mark nothing.
        if (!(sx >= static_cast<double>(left - 1) && sx <= static_cast<double>(right + 1))) continue;
        if (!(sy >= static_cast<double>(bottom - 1) && sy <= static_cast<double>(top + 1))) continue;
        const std::int64_t px = static_cast<std::int64_t>(sx);
        const std::int64_t py = static_cast<std::int64_t>(sy);
        for (std::int64_t y = std::max(py - 1, bottom); y <= std::min(py + 1, top); ++y)
            for (std::int64_t x = std::max(px - 1, left); x <= std::min(px + 1, right); ++x)
                blocked.taken[static_cast<std::size_t>((y - bottom) * width + (x - left))] = 1;
    }
}

bool placeTaken(float x, float y, const Snake& snake, const BlockedPixels& blocked) {
    if (!blocked.taken.empty()) {
        const double fx = std::floor(static_cast<double>(x)) - static_cast<double>(blocked.left);
        const double fy = std::floor(static_cast<double>(y)) - static_cast<double>(blocked.bottom);
        if (fx >= 0.0 && fx < static_cast<double>(blocked.width) && fy >= 0.0 &&
            fy < static_cast<double>(blocked.height))
            return blocked.taken[static_cast<std::size_t>(static_cast<std::int64_t>(fy) * blocked.width +
                                                          static_cast<std::int64_t>(fx))] != 0;
    }
    return takenBySnake(x, y, snake);
}

void drawPlace(Food& food, const Vec3f& origin, const Vec3f& extent, GameInput& input) {
    const double r1 = drawRandom(input);
    const double r2 = drawRandom(input);
    const double r3 = drawRandom(input);
    food.x = static_cast<float>(origin.x + r1 * extent.x);
    food.y = static_cast<float>(origin.y + r2 * extent.y);
    food.z = 0.0f;
    food.value = static_cast<std::int32_t>(std::floor(r3 * 9.0)) + 1;
}

// The first free whole pixel of the rectangle, bottom row first and each row
// from the left. Leaves the food alone when every pixel is taken.
void takeFirstFreePixel(Food& food, const Vec3f& origin, const Vec3f& extent, const BlockedPixels& blocked) {
    if (blocked.taken.empty()) return;
    const double firstX = std::ceil(static_cast<double>(origin.x));
    const double endX = std::ceil(static_cast<double>(origin.x) + extent.x);
    const double firstY = std::ceil(static_cast<double>(origin.y));
    const double endY = std::ceil(static_cast<double>(origin.y) + extent.y);
    for (double y = firstY; y < endY; y += 1.0) {
        for (double x = firstX; x < endX; x += 1.0) {
            const double col = x - static_cast<double>(blocked.left);
            const double row = y - static_cast<double>(blocked.bottom);
            if (col < 0.0 || col >= static_cast<double>(blocked.width) || row < 0.0 ||
                row >= static_cast<double>(blocked.height))
                continue;
            if (blocked.taken[static_cast<std::size_t>(static_cast<std::int64_t>(row) * blocked.width +
                                                       static_cast<std::int64_t>(col))] == 0) {
                food.x = static_cast<float>(x);
                food.y = static_cast<float>(y);
                return;
            }
        }
    }
}

}  // namespace

void placeFood(Food& food, const Vec3f& origin, const Vec3f& extent, const Snake& snake) {
    GameInput live;
    placeFood(food, origin, extent, snake, live);
}

void placeFood(Food& food, const Vec3f& origin, const Vec3f& extent, const Snake& snake, GameInput& input) {
    BlockedPixels blocked;
    for (int attempt = 0; attempt < foodPlacementAttempts; ++attempt) {
        if (attempt == directAttempts) markBlockedPixels(blocked, origin, extent, snake);
        drawPlace(food, origin, extent, input);
        if (!placeTaken(food.x, food.y, snake, blocked)) return;
    }
    // The snake covers (nearly) the whole rectangle. The value stays the last one drawn.
    if (blocked.taken.empty()) markBlockedPixels(blocked, origin, extent, snake);
    takeFirstFreePixel(food, origin, extent, blocked);
}

Vec3f foodOrigin() { return {0.0f, 24.0f, 0.0f}; }

Vec3f foodExtent(std::uint32_t boardWidth, std::uint32_t boardHeight) {
    return {static_cast<float>(boardWidth) - 24.0f, static_cast<float>(boardHeight) - 48.0f, 0.0f};
}

bool runFoodTest(PlayState& play) {
    const Segment& head = play.snake[0];
    const float d = static_cast<float>(
        std::sqrt(std::pow(head.y - play.food.y, 2.0) + std::pow(head.x - play.food.x, 2.0)));
    if (!(d <= 2.0f * play.segmentRadius)) return false;
    noteEvent(play.events, GameEventKind::eat, play.food.value);
    for (std::int32_t i = 0; i < play.food.value; ++i) appendSegment(play.snake);
    placeFood(play.food, foodOrigin(), foodExtent(play.boardWidth, play.boardHeight), play.snake, play.input);
    return true;
}
