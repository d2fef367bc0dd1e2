#pragma once
#include <cstdint>

// The colours the pictures are made in, as 0xAARRGGBB. A noise picture runs
// from its low colour at the lowest noise level to its high colour at the
// highest; the eyes stay white with black pupils in every palette, and the
// food digit stays a white glyph.
struct Palette {
    std::uint32_t snake;  // the body disc, and the head round its eyes
    std::uint32_t stoneLow;
    std::uint32_t stoneHigh;
    std::uint32_t joint;  // the lines between the stones
    std::uint32_t grassLow;
    std::uint32_t grassHigh;
};

// The game's own look: a red snake on dark green grass between grey stones.
constexpr Palette designPalette{0xFFB22222u, 0xFF404040u, 0xFF7F7F7Fu, 0xFF060600u, 0xFF002000u, 0xFF003F00u};

// The same grass under a light, warm snake and light stones, so that nothing
// the player must see is told from the grass by hue alone: each stands out by
// its lightness, which every kind of colour vision keeps.
constexpr Palette contrastPalette{0xFFFFC850u, 0xFF9A968Eu, 0xFFD6D2CAu, 0xFF141208u, 0xFF002000u, 0xFF003F00u};

inline const Palette& paletteFor(bool contrast) { return contrast ? contrastPalette : designPalette; }
