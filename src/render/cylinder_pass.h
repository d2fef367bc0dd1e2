#pragma once
#include <cstdint>
#include <string_view>

struct Font;
struct LightParams;
struct PlayState;

// Draws the board texture round the lit cylinder and the score line, the
// label followed by shownScore, or by the snake's score when it is negative.
void runCylinderPass(const PlayState& play, std::uint32_t boardTexture, std::uint32_t boardHeight,
                     const LightParams& light, const Font& font, std::string_view scoreLabel = "Your score ",
                     int shownScore = -1);
