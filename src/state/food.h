#pragma once
#include <cstdint>

struct Food {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::int32_t value = 0;
    bool operator==(const Food&) const = default;
};
