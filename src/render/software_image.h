#pragma once
#include <cstdint>
#include <vector>

// 0xAARRGGBB pixels, top row first, rows packed (bytes B, G, R, A in memory).
struct SoftwareImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

SoftwareImage createImage(int width, int height, std::uint32_t fill);
void freeImage(SoftwareImage& image);
void setPixel(SoftwareImage& image, int x, int y, std::uint32_t color);
std::uint32_t getPixel(const SoftwareImage& image, int x, int y);
void drawLine(SoftwareImage& image, int x1, int y1, int x2, int y2, std::uint32_t color);
void fillDisc(SoftwareImage& image, int cx, int cy, int radius, std::uint32_t color);
void blurImage(SoftwareImage& destination, const SoftwareImage& source, int radius);
