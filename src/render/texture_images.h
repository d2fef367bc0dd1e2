#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "render/palette.h"
#include "render/software_image.h"

enum TextureSlot : int {
    fontSlot = 0,
    bodySlot = 1,
    headSlot = 2,
    tileSlot = 3,
    backgroundSlot = 4,
    textureSlotCount = 5,
};

struct TextureSet {
    std::array<std::uint32_t, textureSlotCount> names{};
};

using TextureImages = std::array<SoftwareImage, textureSlotCount>;

// The noise under the tile and the background, one level a pixel, row by
// row. It is drawn once and kept, so the pictures can be made again in another
// palette without drawing from the game's random stream, which places the food.
struct TextureNoise {
    std::vector<std::uint8_t> tile;        // 64 x 64 levels, 0 to 63
    std::vector<std::uint8_t> background;  // 64 x 64 levels, 0 to 31
};

// From nextRandom(): the tile's 64 x 64 draws, then the background's.
TextureNoise drawTextureNoise();

void makeTextureImages(TextureImages& images, const TextureNoise& noise, const Palette& palette);
// Fresh noise, the design's colours.
void makeTextureImages(TextureImages& images);
void uploadTexture(std::uint32_t& name, const SoftwareImage& image);
// Makes body, head, tile and background again in the palette and puts them
// under the names they already have; the font stays.
void recolourTextures(const TextureSet& textures, const TextureNoise& noise, const Palette& palette);

// The pictures one by one, in the order makeTextureImages makes them. Without
// noise given, the tile and the background draw their own from nextRandom().
SoftwareImage makeFontImage();                                        // 128 x 128 glyph grid, stored upside down
SoftwareImage makeBodyImage(const Palette& palette = designPalette);  // 64 x 64 disc
SoftwareImage makeHeadImage(const Palette& palette = designPalette);  // the disc with two eyes on the +x side
SoftwareImage makeTileImage(bool blurred);                            // stones with dark joints
SoftwareImage makeTileImage(const std::vector<std::uint8_t>& noise, const Palette& palette, bool blurred);
SoftwareImage makeBackgroundImage();  // blurred grass noise, left half mirrored
SoftwareImage makeBackgroundImage(const std::vector<std::uint8_t>& noise, const Palette& palette);

constexpr std::uint32_t transparentColor = 0x00000000u;
constexpr std::uint32_t bodyRed = designPalette.snake;  // the icon keeps the design's colours
constexpr std::uint32_t jointColor = designPalette.joint;
constexpr std::uint32_t whiteColor = 0xFFFFFFFFu;
constexpr std::uint32_t blackColor = 0xFF000000u;
