// The GL tests share one real window and context, opened before any test runs;
// a picture read back can be saved for a look when a test fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gl/gl_probe.h"
#include "platform/platform.h"
#include "render/display_setup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    requestDepthBits(24);
    requestSamples(4);
    if (!openDisplay(1024, 768, 32)) {
        // Skipped, not failed: ctest counts 77 as a skip (SKIP_RETURN_CODE),
        // and the test command fails on any skip.
        const char* why = "SKIPPED: gl_tests need an X display with GL (ctest gives them one)\n";
        std::fputs(why, stderr);  // NOLINT(cert-err33-c): it exits with 77 whether or not this is seen
        return 77;
    }
    // The probe prints on the console channel; keep it closed so the test output stays readable.
    probeFramebufferSupport();
    return RUN_ALL_TESTS();
}

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
