#pragma once
#include <array>
#include <cstdint>

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

void makeTextureImages(TextureImages& images);
void uploadTexture(std::uint32_t& name, const SoftwareImage& image);

// The pictures one by one, in the order makeTextureImages draws them. The tile
// and the background take their noise from nextRandom(), 64 x 64 draws each.
SoftwareImage makeFontImage();              // 128 x 128 glyph grid, stored upside down
SoftwareImage makeBodyImage();              // 64 x 64 red disc
SoftwareImage makeHeadImage();              // the body disc with two eyes on the +x side
SoftwareImage makeTileImage(bool blurred);  // grey stones with dark joints
SoftwareImage makeBackgroundImage();        // blurred green noise, left half mirrored

constexpr std::uint32_t transparentColor = 0x00000000u;
constexpr std::uint32_t bodyRed = 0xFFB22222u;
constexpr std::uint32_t whiteColor = 0xFFFFFFFFu;
constexpr std::uint32_t blackColor = 0xFF000000u;
constexpr std::uint32_t jointColor = 0xFF060600u;
