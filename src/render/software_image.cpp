#include "render/software_image.h"

#include <algorithm>
#include <cstdlib>

SoftwareImage createImage(int width, int height, std::uint32_t fill) {
    SoftwareImage image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, fill);
    return image;
}

void freeImage(SoftwareImage& image) { image = SoftwareImage{}; }

namespace {

bool inside(const SoftwareImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width && y < image.height;
}

std::size_t indexOf(const SoftwareImage& image, int x, int y) { return static_cast<std::size_t>(y) * image.width + x; }

void drawRowSpan(SoftwareImage& image, int y, int x1, int x2, std::uint32_t color) {
    if (y < 0 || y >= image.height) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, image.width - 1);
    for (int x = x1; x <= x2; ++x) image.pixels[indexOf(image, x, y)] = color;
}

}  // namespace

void setPixel(SoftwareImage& image, int x, int y, std::uint32_t color) {
    if (inside(image, x, y)) image.pixels[indexOf(image, x, y)] = color;
}

std::uint32_t getPixel(const SoftwareImage& image, int x, int y) {
    return inside(image, x, y) ? image.pixels[indexOf(image, x, y)] : 0u;
}

void drawLine(SoftwareImage& image, int x1, int y1, int x2, int y2, std::uint32_t color) {
    // Bresenham over every octant; points outside fall away in setPixel.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int stepX = x1 < x2 ? 1 : -1;
    const int stepY = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        setPixel(image, x1, y1, color);
        if (x1 == x2 && y1 == y2) return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x1 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y1 += stepY;
        }
    }
}

void fillDisc(SoftwareImage& image, int cx, int cy, int radius, std::uint32_t color) {
    if (radius < 0) return;
    // Midpoint circle, one octant at a time; each step fills the four rows it reaches.
    int x = radius;
    int y = 0;
    int decision = 1 - radius;
    while (x >= y) {
        drawRowSpan(image, cy + y, cx - x, cx + x, color);
        drawRowSpan(image, cy - y, cx - x, cx + x, color);
        drawRowSpan(image, cy + x, cx - y, cx + y, color);
        drawRowSpan(image, cy - x, cx - y, cx + y, color);
        ++y;
        if (decision < 0) {
            decision += 2 * y + 1;
        } else {
            --x;
            decision += 2 * (y - x) + 1;
        }
    }
}

void blurImage(SoftwareImage& destination, const SoftwareImage& source, int radius) {
    if (radius <= 0) return;
    // Each result is written before the next window is summed, so when source and
    // destination are the same image the pixels above and to the left are already
    // filtered: the picture depends on this row-by-row scan.
    for (int y = 0; y < destination.height; ++y) {
        for (int x = 0; x < destination.width; ++x) {
            const int x0 = std::max(0, x - radius);
            const int x1 = std::min(source.width - 1, x + radius);
            const int y0 = std::max(0, y - radius);
            const int y1 = std::min(source.height - 1, y + radius);
            if (x0 > x1 || y0 > y1) continue;
            std::uint32_t red = 0, green = 0, blue = 0, count = 0;
            for (int wy = y0; wy <= y1; ++wy) {
                for (int wx = x0; wx <= x1; ++wx) {
                    const std::uint32_t pixel = source.pixels[indexOf(source, wx, wy)];
                    red += (pixel >> 16) & 0xFFu;
                    green += (pixel >> 8) & 0xFFu;
                    blue += pixel & 0xFFu;
                    ++count;
                }
            }
            destination.pixels[indexOf(destination, x, y)] = 0xFF000000u | ((red / count) << 16) |
                                                             ((green / count) << 8) | (blue / count);
        }
    }
}
