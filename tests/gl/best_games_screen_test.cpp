// The "Best games" screen drawn by the real renderer and read back once.
#include <gtest/gtest.h>

#include "game/best_games_flow.h"
#include "game/program.h"
#include "gl/gl_probe.h"
#include "gl/pass_helpers.h"

namespace {

// Pixels of one colour in the 16 rows of the text line at y (pen y), left
// of x or from x on.
int pixelsIn(const Readback& window, int lineY, Rgba colour, bool leftOfRows = false) {
    constexpr int rowsLeft = 200;  // the rank column starts at x = 200
    int count = 0;
    for (int y = lineY - 8; y < lineY + 8; ++y)
        for (int x = leftOfRows ? 0 : rowsLeft; x < (leftOfRows ? rowsLeft : window.width); ++x) {
            const Rgba p = window.at(x, y);
            count += near(p.r, colour.r) && near(p.g, colour.g) && near(p.b, colour.b);
        }
    return count;
}

TEST(BestGamesScreen, DrawsEachRowTheChosenOneYellowAndMarkedOneWithoutItsWatchDim) {
    Program program;
    program.font = realFont();
    program.kept.table.entries = {
        {163, 1'767'225'600, 87.0, "a.twrec"}, {6, 1'767'312'000, 3.8, "b.twrec"}, {5, 1'767'398'400, 41.0, ""}};
    program.kept.watch = {Watch::offered, Watch::unchecked, Watch::refused};
    drawBestGamesFrame(program, 1, true, "Saved as /home/player/tubewyrm-6-2026-01-02-0000.twrec");
    glFinish();
    const Readback window = readPixels(0, 0, 1024, 768);

    const Rgba yellow{255, 255, 0, 255}, white{255, 255, 255, 255}, dim{89, 89, 89, 255}, black{0, 0, 0, 255};
    // The heading at y = 600, the rows 24 apart from 520 and the marker left
    // of them, the export's line (too wide for the rows) at 256, the keys at 208.
    EXPECT_GT(pixelsIn(window, 600, yellow), 100) << "the heading";
    EXPECT_GT(pixelsIn(window, 520, white), 300) << "the first row";
    EXPECT_GT(pixelsIn(window, 496, yellow), 300) << "the chosen row";
    EXPECT_GT(pixelsIn(window, 496, yellow, true), 10) << "its marker";
    EXPECT_EQ(pixelsIn(window, 520, black, true), 16 * 200) << "no marker by the first row";
    EXPECT_GT(pixelsIn(window, 472, dim), 300) << "the row without a recording";
    EXPECT_EQ(pixelsIn(window, 448, black), 16 * (1024 - 200)) << "no fourth row";
    EXPECT_GT(pixelsIn(window, 256, white, true), 10) << "where the export went";
    EXPECT_GT(pixelsIn(window, 208, yellow), 100) << "the keys";
    if (HasFailure()) saveReadback(window, "best_games_screen.ppm");
}

}  // namespace
