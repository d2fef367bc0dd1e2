#pragma once

// The window's client area, which the game draws to at a fixed size.
constexpr int windowWidth = 1024;
constexpr int windowHeight = 768;
