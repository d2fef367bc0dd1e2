#include "gl/gl_probe.h"

#include <gtest/gtest.h>

#include <cstdio>

void saveReadback(const Readback& image, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        ADD_FAILURE() << "cannot create " << path;
        return;
    }
    bool written = std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height) > 0;
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            Rgba p = image.at(x, y);
            written = written && std::fputc(p.r, file) != EOF && std::fputc(p.g, file) != EOF &&
                      std::fputc(p.b, file) != EOF;
        }
    written = std::fclose(file) == 0 && written;
    if (!written) ADD_FAILURE() << "could not write all of " << path;
}
