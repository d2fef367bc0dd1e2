#pragma once
// Small textures and snakes placed by hand, for the board and cylinder pass tests.
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "render/font.h"
#include "render/gl.h"
#include "render/texture_images.h"
#include "state/play_state.h"

// A texture of w x h texels given as 0xRRGGBBAA values, bottom row first,
// with nearest filtering and no mipmaps (the passes set their own filters on
// the background and the tiles; body and head keep these).
inline GLuint makeTexture(int w, int h, const std::vector<std::uint32_t>& rgba) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t c : rgba) {
        bytes.push_back(static_cast<std::uint8_t>(c >> 24));
        bytes.push_back(static_cast<std::uint8_t>(c >> 16));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return name;
}

inline GLuint makeSolidTexture(std::uint32_t rgba) { return makeTexture(1, 1, {rgba}); }

// Segments at the given places, head first, every one at full scale.
inline Snake snakeAt(std::initializer_list<std::pair<float, float>> places, float scale = 1.0f) {
    Snake snake;
    for (auto [x, y] : places) {
        Segment s;
        s.x = x;
        s.y = y;
        s.scale = scale;
        snake.push_back(s);
    }
    return snake;
}

// The real font, built once for the whole run and shared by the pass tests.
inline const Font& realFont() {
    static Font font = [] {
        Font f;
        uploadTexture(f.texture, makeFontImage());
        buildFont(f.listBase, 16.0f, 16.0f, 8);
        return f;
    }();
    return font;
}
