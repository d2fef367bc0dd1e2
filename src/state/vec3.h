#pragma once

struct Vec3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    bool operator==(const Vec3f&) const = default;
};
