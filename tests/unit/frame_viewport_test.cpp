// Where the 1024 x 768 picture goes in a window or screen of another size.
#include <gtest/gtest.h>

#include <cstdlib>

#include "render/frame_viewport.h"

namespace {

void expectViewport(int width, int height, int x, int y, int w, int h) {
    const FrameViewport view = letterboxViewport(width, height);
    EXPECT_EQ(view.x, x) << width << " x " << height;
    EXPECT_EQ(view.y, y) << width << " x " << height;
    EXPECT_EQ(view.width, w) << width << " x " << height;
    EXPECT_EQ(view.height, h) << width << " x " << height;
}

TEST(FrameViewport, TheLargestCentred4By3RectangleThatFits) {
    expectViewport(1024, 768, 0, 0, 1024, 768);
    expectViewport(1280, 1024, 0, 32, 1280, 960);    // bars above and below
    expectViewport(1920, 1080, 240, 0, 1440, 1080);  // bars left and right
    expectViewport(1200, 600, 200, 0, 800, 600);
    expectViewport(512, 384, 0, 0, 512, 384);
    expectViewport(0, 768, 0, 0, 0, 0);  // a minimised window
    expectViewport(1024, -1, 0, 0, 0, 0);
    // Sizes whose products overflow 32 bits still come out right.
    expectViewport(2000000, 1500000, 0, 0, 2000000, 1500000);

    for (int width = 1; width <= 700; width += 3) {
        for (int height = 1; height <= 700; height += 7) {
            const FrameViewport view = letterboxViewport(width, height);
            ASSERT_TRUE(view.width == width || view.height == height) << width << " x " << height;
            ASSERT_LE(view.x + view.width, width);
            ASSERT_LE(view.y + view.height, height);
            ASSERT_GE(view.x, 0);
            ASSERT_GE(view.y, 0);
            // Centred to the pixel, and 4:3 to within rounding of one side.
            ASSERT_LE(std::abs(view.x - (width - view.x - view.width)), 1);
            ASSERT_LE(std::abs(view.y - (height - view.y - view.height)), 1);
            ASSERT_LE(std::abs(view.width * 3 - view.height * 4), 4) << width << " x " << height;
        }
    }
}

}  // namespace
