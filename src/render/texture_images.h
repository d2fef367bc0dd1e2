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
