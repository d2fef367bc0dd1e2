#pragma once
#include <cstdint>

struct BoardTarget;
struct Font;
struct PlayState;
struct TextureSet;

// Without off-screen rendering the board is drawn into the back buffer and
// copied into this texture; 0 when the board target exists.
std::uint32_t createBoardCopyTexture(std::int32_t width, std::int32_t height);

// Draws the board as play holds it; it changes nothing in play.
void runBoardPass(const PlayState& play, const BoardTarget& target, std::uint32_t boardCopyTexture,
                  const TextureSet& textures, const Font& font);
