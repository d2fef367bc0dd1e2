#include "render/pause_overlay.h"

#include <string_view>

#include "render/font.h"
#include "render/gl.h"
#include "render/projection_2d.h"
#include "render/window_size.h"

namespace {
// Four lines above the middle, clear of a head on the board's middle rows.
constexpr float pausedLineY = static_cast<float>(windowHeight) / 2.0f + 64.0f;
}  // namespace

void drawPausedLine(const Font& font) {
    constexpr std::string_view text = "Paused";
    pushOrtho2D(windowWidth, windowHeight);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // The pen marks the first glyph's centre and glyphs are 16 wide.
    const float x = static_cast<float>(windowWidth) / 2.0f - 8.0f * static_cast<float>(text.size());
    drawText(text, font.texture, font.listBase, x, pausedLineY, 0.0f, 1.0f, 1.0f, 1.0f);
    popOrtho2D();
}
