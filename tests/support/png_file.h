#pragma once
// RGBA pictures kept as PNG files, through libpng.
#include <cstdint>
#include <string>
#include <vector>

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // top row first
};

bool writePngFile(const std::string& path, const RgbaPicture& picture);
// False when the file is missing or not a PNG.
bool readPngFile(const std::string& path, RgbaPicture& picture);
