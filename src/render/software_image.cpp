#include "render/software_image.h"

// Placeholder until the images land.
SoftwareImage createImage(int width, int height, std::uint32_t fill) {
    SoftwareImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, fill);
    return image;
}
void freeImage(SoftwareImage& image) { image = SoftwareImage{}; }
void setPixel(SoftwareImage&, int, int, std::uint32_t) {}
std::uint32_t getPixel(const SoftwareImage&, int, int) { return 0; }
void drawLine(SoftwareImage&, int, int, int, int, std::uint32_t) {}
void fillDisc(SoftwareImage&, int, int, int, std::uint32_t) {}
void blurImage(SoftwareImage&, const SoftwareImage&, int) {}
