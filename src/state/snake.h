#pragma once
#include <vector>

struct Segment {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float dx = 0.0f;
    float dy = 0.0f;
    float dz = 0.0f;
    float scale = 0.0f;
    bool operator==(const Segment&) const = default;
};

// Element 0 is the head; the upper index is the score.
using Snake = std::vector<Segment>;

inline int upperIndex(const Snake& snake) { return static_cast<int>(snake.size()) - 1; }
