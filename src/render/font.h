#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

struct Font {
    std::uint32_t listBase = 0;
    std::uint32_t texture = 0;  // the font texture, slot 0 of the TextureSet
};

// Room for a label and any 32-bit number.
struct NumberedText {
    char characters[48];
    std::size_t length = 0;
    std::string_view view() const { return {characters, length}; }
};

// A label followed by a number in decimal, built without the heap so that
// play frames can label things.
NumberedText textWithNumber(std::string_view label, int number);

void buildFont(std::uint32_t& listBase, float columns, float rows, int halfSize);
// x, y is the centre of the first character; glyphs are 16 units apart.
void drawText(std::string_view text, std::uint32_t texture, std::uint32_t listBase, float x, float y, float z, float r,
              float g, float b);
