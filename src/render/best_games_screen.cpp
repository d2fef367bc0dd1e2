#include "render/best_games_screen.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "render/font.h"
#include "render/frame_viewport.h"
#include "render/gl.h"
#include "render/projection_2d.h"
#include "render/window_size.h"

namespace {

// Ten rows from under the heads down to the middle of the window, the lines
// about keys below them where the title has its own.
constexpr float headingY = 600.0f;
constexpr float headerY = 552.0f;
constexpr float firstRowY = 520.0f;
constexpr float rowStep = 24.0f;
constexpr float noteY = 256.0f;
constexpr float firstKeyLineY = 208.0f;
constexpr float keyLineStep = 20.0f;

struct Colour {
    float r, g, b;
};
constexpr Colour yellow{1.0f, 1.0f, 0.0f};
constexpr Colour white{1.0f, 1.0f, 1.0f};
constexpr Colour grey{0.6f, 0.6f, 0.6f};
// A row without its watch, plain and chosen.
constexpr Colour dim{0.35f, 0.35f, 0.35f};
constexpr Colour dimYellow{0.5f, 0.5f, 0.0f};

std::string rightAligned(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string leftAligned(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string minutesAndSeconds(double seconds) {
    // An older version kept no length (0); nonsense is none either.
    if (!(seconds > 0.0) || !std::isfinite(seconds)) return "-";
    // Whole seconds, so 59.9 is still "0:59".
    const double whole = std::floor(std::min(seconds, 1e9));
    const auto total = static_cast<long long>(whole);
    const long long rest = total % 60;
    return std::to_string(total / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

// Centred on x = 504 like the title's lines: glyphs are 16 wide and the pen
// marks the first glyph's centre.
void drawCentred(const Font& font, std::string_view text, float y, Colour c) {
    const float x = static_cast<float>(windowWidth) / 2.0f - 8.0f * static_cast<float>(text.size());
    drawText(text, font.texture, font.listBase, x, y, 0.0f, c.r, c.g, c.b);
}

// A path longer than the window keeps its end, where the file's name is.
std::string fitted(std::string_view text) {
    constexpr std::size_t most = windowWidth / 16 - 2;
    if (text.size() <= most) return std::string(text);
    return "..." + std::string(text.substr(text.size() - (most - 3)));
}

void drawRows(const Font& font, const BestGamesPicture& picture) {
    const auto& entries = picture.games->entries;
    const std::size_t rows = std::min(entries.size(), picture.unwatchable.size());
    const float x = static_cast<float>(windowWidth) / 2.0f - 8.0f * static_cast<float>(bestGamesHeader.size());
    drawText(bestGamesHeader, font.texture, font.listBase, x, headerY, 0.0f, grey.r, grey.g, grey.b);
    for (std::size_t row = 0; row < rows; ++row) {
        const bool chosen = static_cast<int>(row) == picture.chosen;
        const bool unwatchable = picture.unwatchable[row];
        const Colour c = chosen ? (unwatchable ? dimYellow : yellow) : (unwatchable ? dim : white);
        const float y = firstRowY - rowStep * static_cast<float>(row);
        const std::string text = bestGamesRow(static_cast<int>(row) + 1, entries[row]);
        drawText(text, font.texture, font.listBase, x, y, 0.0f, c.r, c.g, c.b);
        if (chosen) drawText(">", font.texture, font.listBase, x - 32.0f, y, 0.0f, c.r, c.g, c.b);
    }
}

}  // namespace

std::string bestGamesRow(int rank, const BestGameEntry& entry) {
    return rightAligned(std::to_string(rank), 4) + "  " + rightAligned(std::to_string(entry.score), 6) + "  " +
           leftAligned(localDateAndTime(entry.endedAt), 16) + "  " +
           rightAligned(minutesAndSeconds(entry.playSeconds), 6);
}

void drawBestGamesScreen(const Font& font, const BestGamesPicture& picture) {
    // Unlit and without the depth test, whatever the cylinder left on.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // The window may have changed size or gone full screen since the last frame.
    setFrameViewport();
    pushOrtho2D(windowWidth, windowHeight);
    glClear(GL_COLOR_BUFFER_BIT);
    drawCentred(font, "Best games", headingY, yellow);
    const bool empty = picture.games == nullptr || picture.games->entries.empty();
    if (empty)
        drawCentred(font, "No games kept yet...", firstRowY - 3.0f * rowStep, white);
    else
        drawRows(font, picture);
    const bool chosenUnwatchable = picture.chosen >= 0 &&
                                   picture.chosen < static_cast<int>(picture.unwatchable.size()) &&
                                   picture.unwatchable[static_cast<std::size_t>(picture.chosen)];
    if (!picture.note.empty())
        drawCentred(font, fitted(picture.note), noteY, white);
    else if (chosenUnwatchable && !empty)
        drawCentred(font, "This game cannot be replayed", noteY, white);
    if (picture.byPlayer) {
        if (!empty) drawCentred(font, "Press Space to watch, E to export...", firstKeyLineY, yellow);
        drawCentred(font, "Press Escape to go back...", firstKeyLineY - keyLineStep, yellow);
    } else {
        drawCentred(font, "Press Space to play...", firstKeyLineY, yellow);
    }
    popOrtho2D();
}
