#pragma once
#include <cstdint>

struct Font;
struct LightParams;
struct PlayState;

// Draws the board texture round the lit cylinder and the score line.
void runCylinderPass(const PlayState& play, std::uint32_t boardTexture, std::uint32_t boardHeight,
                     const LightParams& light, const Font& font);
