#pragma once
// Reading pixels back from the bound framebuffer, for the GL tests.
#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/gl.h"

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Readback {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // bottom row first, as GL gives it
    Rgba at(int x, int y) const {
        const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

inline Readback readPixels(int x, int y, int width, int height) {
    Readback result;
    result.width = width;
    result.height = height;
    result.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, result.rgba.data());
    return result;
}

inline bool near(std::uint8_t value, int expected, int tolerance = 3) {
    return value >= expected - tolerance && value <= expected + tolerance;
}

// Whether text drawn twice magnified, with the centre of its first glyph at
// (penX, penY) and y up, puts ink on pixel (x, y): the code page 437 glyphs.
inline bool textInkAt(std::string_view text, int penX, int penY, int x, int y) {
    const int column = x - (penX - 8), row = penY + 7 - y;
    if (column < 0 || row < 0 || row >= 16 || column >= 16 * static_cast<int>(text.size())) return false;
    const auto code = static_cast<unsigned char>(text[static_cast<std::size_t>(column / 16)]);
    return (gfxPrimitivesFontdata[8 * code + row / 2] & (0x80 >> (column % 16 / 2))) != 0;
}

// Writes a readback as a PPM so a person can look at a failure.
void saveReadback(const Readback& image, const std::string& path);

inline std::array<GLint, 4> currentViewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

inline std::array<GLfloat, 16> currentMatrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}
