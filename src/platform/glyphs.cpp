// The glyphs come from SDL2_gfx's table of the code page 437 8 x 8 font: a
// plain data header, nothing to link.
#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <cstddef>

#include "platform/platform.h"

const unsigned char* glyphBitmap(int code) {
    static_assert(sizeof gfxPrimitivesFontdata == std::size_t{256} * 8);
    return &gfxPrimitivesFontdata[std::size_t{8} * (static_cast<unsigned>(code) & 0xFFu)];
}
