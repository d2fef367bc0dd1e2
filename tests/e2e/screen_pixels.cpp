#include "e2e/screen_pixels.h"

#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <cstdlib>

namespace {

constexpr int windowWidth = 1024;
constexpr int windowHeight = 768;

}  // namespace

bool greenish(const Screenshot& s, int x, int y) { return s.g(x, y) > s.r(x, y) + 20 && s.g(x, y) > s.b(x, y) + 20; }
bool reddish(const Screenshot& s, int x, int y) { return s.r(x, y) > s.g(x, y) + 40 && s.r(x, y) > s.b(x, y) + 40; }
bool blackish(const Screenshot& s, int x, int y) { return s.r(x, y) < 10 && s.g(x, y) < 10 && s.b(x, y) < 10; }
bool stoneGrey(const Screenshot& s, int x, int y) {
    const int r = s.r(x, y), g = s.g(x, y), b = s.b(x, y);
    return r > 40 && std::abs(r - g) < 12 && std::abs(g - b) < 24;
}
bool titleYellow(const Screenshot& s, int x, int y) { return s.r(x, y) > 200 && s.g(x, y) > 200 && s.b(x, y) < 60; }
bool titleRed(const Screenshot& s, int x, int y) { return s.r(x, y) >= 40 && s.g(x, y) < 20 && s.b(x, y) < 20; }

int countIn(const Screenshot& s, int x0, int y0, int x1, int y1, PixelKind kind) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += kind(s, x, y);
    return n;
}

bool looksLikePlay(const Screenshot& shot) {
    return shot.valid() && countIn(shot, 440, 200, 584, 320, greenish) > 144 * 120 / 2;
}

bool looksLikeTitle(const Screenshot& shot) {
    return shot.valid() && countIn(shot, 300, 300, 724, 450, titleYellow) > 500 &&
           countIn(shot, 300, 100, 724, 700, greenish) == 0;
}

bool showsPlay() { return looksLikePlay(takeScreenshot()); }
bool showsTitle() { return looksLikeTitle(takeScreenshot()); }

std::vector<bool> inkMask(const std::vector<TextLine>& lines) {
    std::vector<bool> mask(static_cast<std::size_t>(windowWidth) * windowHeight, false);
    for (const TextLine& line : lines)
        for (std::size_t m = 0; m < line.text.size(); ++m) {
            const int code = static_cast<unsigned char>(line.text[m]);
            const int cellLeft = line.penX - 8 + 16 * static_cast<int>(m);
            const int cellTopRow = windowHeight - (line.penY + 8);
            for (int j = 0; j < 8; ++j)
                for (int i = 0; i < 8; ++i) {
                    if (!(gfxPrimitivesFontdata[8 * code + j] & (0x80 >> i))) continue;
                    for (int d = 0; d < 4; ++d)
                        mask[(cellTopRow + 2 * j + d / 2) * windowWidth + cellLeft + 2 * i + d % 2] = true;
                }
        }
    return mask;
}

int mismatches(const Screenshot& shot, const std::vector<bool>& mask, PixelKind kind) {
    if (shot.width != windowWidth || shot.height != windowHeight) return windowWidth * windowHeight;
    int wrong = 0;
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
            wrong += kind(shot, x, y) != mask[static_cast<std::size_t>(y) * windowWidth + x];
    return wrong;
}
