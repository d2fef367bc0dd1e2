// Build-time tool: draws the game's icon at one size with the game's own
// image routines (the snake's head on grass above a course of stones) and
// writes it as a PNG. Usage: make_icon SIZE FILE.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "render/software_image.h"
#include "render/texture_images.h"

namespace {

// Small sizes are drawn pixel by pixel; larger ones at four times the size and
// averaged down, so the discs get smooth edges.
int supersamplingFor(int size) { return size >= 48 ? 4 : 1; }

std::uint32_t channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

// The average of the texels a pixel of a picture of the given size covers.
std::uint32_t sampleTexture(const SoftwareImage& texture, int x, int y, int width, int height) {
    const int x0 = x * texture.width / width;
    const int x1 = std::max(x0 + 1, (x + 1) * texture.width / width);
    const int y0 = y * texture.height / height;
    const int y1 = std::max(y0 + 1, (y + 1) * texture.height / height);
    std::uint32_t sum[4] = {};
    int count = 0;
    for (int ty = y0; ty < y1; ++ty)
        for (int tx = x0; tx < x1; ++tx) {
            const std::uint32_t texel = getPixel(texture, tx % texture.width, ty % texture.height);
            for (int c = 0; c < 4; ++c) sum[c] += channel(texel, 8 * c);
            ++count;
        }
    std::uint32_t result = 0;
    for (int c = 0; c < 4; ++c) result |= (sum[c] / count) << (8 * c);
    return result;
}

// The patch: grass everywhere, a course of stones along the bottom quarter.
void drawGround(SoftwareImage& image, const SoftwareImage& grass, const SoftwareImage& stones) {
    const int n = image.width;
    const int stoneTop = n - n / 4;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (y < stoneTop)
                setPixel(image, x, y, sampleTexture(grass, x, y, n, n));
            else
                // One stone tile is as high as the course, laid side by side.
                setPixel(image, x, y, sampleTexture(stones, x % (n / 4), y - stoneTop, n / 4, n / 4));
        }
    drawLine(image, 0, stoneTop, n - 1, stoneTop, jointColor);
}

// The head moving up, as the game draws it when Up is held: the red disc with
// its two eyes on the leading side. Up to 32 pixels the head fills the patch;
// from 48 on it is smaller and the body bends away off the left edge.
void drawSnake(SoftwareImage& image, int size, int scale) {
    const auto at = [scale](double units) { return static_cast<int>(std::lround(units * scale)); };
    const double n = size;
    const bool small = size <= 32;
    const double headX = small ? n * 0.5 : n * 0.62;
    const double headY = small ? n * 0.42 : n * 0.34;
    const double headRadius = small ? n * 0.34 : n * 0.22;
    if (!small) {
        // Tail end first, so each segment lies on the one behind it.
        const double body[][3] = {
            {-0.02, 0.63, 0.09}, {0.12, 0.63, 0.11}, {0.27, 0.62, 0.13}, {0.42, 0.59, 0.15}, {0.57, 0.51, 0.17}};
        for (const auto& segment : body)
            fillDisc(image, at(n * segment[0]), at(n * segment[1]), at(n * segment[2]), bodyRed);
    }
    fillDisc(image, at(headX), at(headY), at(headRadius), bodyRed);
    // Below 32 pixels a pupil is one black pixel (a disc of radius 1 would be a
    // cross); at 16 the eye round it is a white plus.
    const double eyeDx = headRadius * 0.5, eyeDy = -headRadius * 0.38;
    const double eyeRadius = size <= 16 ? 1.0 : headRadius * 0.3;
    const double pupilRadius = size < 32 ? 0.0 : headRadius * 0.16;
    for (double side : {-1.0, 1.0}) {
        fillDisc(image, at(headX + side * eyeDx), at(headY + eyeDy), at(eyeRadius), whiteColor);
        fillDisc(image, at(headX + side * eyeDx), at(headY + eyeDy), at(pupilRadius), blackColor);
    }
}

// Corners cut round, as the rounded tile desktop icons sit on.
void roundCorners(SoftwareImage& image, int radius) {
    const int n = image.width;
    SoftwareImage mask = createImage(n, n, transparentColor);
    for (int cy : {radius, n - 1 - radius})
        for (int cx : {radius, n - 1 - radius}) fillDisc(mask, cx, cy, radius, whiteColor);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const bool inCross = (x >= radius && x < n - radius) || (y >= radius && y < n - radius);
            if (!inCross && getPixel(mask, x, y) == transparentColor) setPixel(image, x, y, transparentColor);
        }
}

SoftwareImage averageDown(const SoftwareImage& large, int factor) {
    const int n = large.width / factor;
    SoftwareImage small = createImage(n, n, transparentColor);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            // Colours weighted by coverage, so transparent corners do not darken the rim.
            std::uint32_t alpha = 0, red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < factor; ++sy)
                for (int sx = 0; sx < factor; ++sx) {
                    const std::uint32_t p = getPixel(large, x * factor + sx, y * factor + sy);
                    const std::uint32_t a = channel(p, 24);
                    alpha += a;
                    red += channel(p, 16) * a;
                    green += channel(p, 8) * a;
                    blue += channel(p, 0) * a;
                }
            if (alpha == 0) continue;
            const std::uint32_t count = static_cast<std::uint32_t>(factor * factor);
            setPixel(small, x, y,
                     ((alpha / count) << 24) | ((red / alpha) << 16) | ((green / alpha) << 8) | (blue / alpha));
        }
    return small;
}

SoftwareImage drawIcon(int size) {
    // A fixed seed: the same icon on every build.
    seedRandom(1.0);
    const SoftwareImage stones = makeTileImage(true);
    const SoftwareImage grass = makeBackgroundImage();
    const int scale = supersamplingFor(size);
    SoftwareImage image = createImage(size * scale, size * scale, transparentColor);
    drawGround(image, grass, stones);
    drawSnake(image, size, scale);
    roundCorners(image, size * scale / 8);
    return scale > 1 ? averageDown(image, scale) : image;
}

bool writePng(const SoftwareImage& image, const char* path) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.pixels.size() * 4);
    for (std::uint32_t p : image.pixels)
        for (int shift : {16, 8, 0, 24}) bytes.push_back(static_cast<std::uint8_t>(channel(p, shift)));
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&png, path, 0, bytes.data(), 0, nullptr)) {
        // The build fails on the status; the message is only a courtesy.
        static_cast<void>(std::fprintf(stderr, "make_icon: cannot write %s: %s\n", path, png.message));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 16 || size > 1024) {
        static_cast<void>(std::fprintf(stderr, "usage: make_icon SIZE FILE (SIZE from 16 to 1024)\n"));
        return 2;
    }
    return writePng(drawIcon(size), argv[2]) ? 0 : 1;
}
