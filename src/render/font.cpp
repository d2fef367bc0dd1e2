#include "render/font.h"

// Placeholder until the font lands.
void buildFont(std::uint32_t&, float, float, int) {}
void drawText(std::string_view, std::uint32_t, std::uint32_t, float, float, float, float, float, float) {}
