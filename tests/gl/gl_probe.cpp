#include "gl/gl_probe.h"

#include <cstdio>

void saveReadback(const Readback& image, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            Rgba p = image.at(x, y);
            std::fputc(p.r, file);
            std::fputc(p.g, file);
            std::fputc(p.b, file);
        }
    std::fclose(file);
}
