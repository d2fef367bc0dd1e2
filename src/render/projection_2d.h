#pragma once
#include <cstdint>

// A flat projection with (0, 0) at the bottom left and (width, height) at the
// top right of the viewport. Every push is followed by exactly one pop.
void pushOrtho2D(std::int32_t width, std::int32_t height);
void popOrtho2D();
