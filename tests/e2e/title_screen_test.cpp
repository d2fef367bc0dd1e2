// The title screen of the real game, read from screenshots and compared
// glyph pixel by glyph pixel with the code page 437 table.
#include <gtest/gtest.h>

#include <SDL2/SDL2_gfxPrimitives_font.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/game_process.h"

namespace {

constexpr int windowWidth = 1024;
constexpr int windowHeight = 768;

struct Line {
    std::string text;
    int penX, penY;  // centre of the first glyph, y up
};

const std::vector<Line> titleLines = {
    {"Tubewyrm on the drum!", 344, 384},
    {"Press Space to play...", 336, 364},
    {"Press Escape to exit...", 328, 344},
};

// Under the best score once a game is kept.
const Line bestGamesLine = {"Press B for best games...", 312, 284};

Line previousScoreLine(int score) {
    std::string text = "Previous score " + std::to_string(score);
    return {text, 512 - 8 * static_cast<int>(text.size()), 324};
}

// Where the lines' glyphs put ink, as a window-sized mask with the top row first.
std::vector<bool> inkMask(const std::vector<Line>& lines) {
    std::vector<bool> mask(static_cast<std::size_t>(windowWidth) * windowHeight, false);
    for (const Line& line : lines)
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

bool isYellow(const Screenshot& s, int x, int y) { return s.r(x, y) > 200 && s.g(x, y) > 200 && s.b(x, y) < 60; }
bool isGreen(const Screenshot& s, int x, int y) { return s.g(x, y) > s.r(x, y) + 20 && s.g(x, y) > s.b(x, y) + 20; }
// The fourth line pulses between a quarter and three quarters of full red.
bool isTitleRed(const Screenshot& s, int x, int y) { return s.r(x, y) >= 40 && s.g(x, y) < 20 && s.b(x, y) < 20; }

template <typename Test>
int mismatches(const Screenshot& shot, const std::vector<bool>& expected, Test test) {
    int wrong = 0;
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x) wrong += test(shot, x, y) != expected[y * windowWidth + x];
    return wrong;
}

int countPixels(const Screenshot& shot, bool (*test)(const Screenshot&, int, int)) {
    int count = 0;
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x) count += test(shot, x, y);
    return count;
}

// Ends the game if a test stops half way.
struct RunningGame {
    GameProcess game = startGame();
    ~RunningGame() { killGame(game); }
    bool quitWithEscape() {
        keyDownX("Escape");
        const bool ended = waitForExit(game, 20.0);
        keyUpX("Escape");
        return ended && game.exitStatus == 0;
    }
};

TEST(TitleScreen, FirstTitleShowsExactlyTheThreeYellowLinesAndNoScore) {
    RunningGame running;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(running.game.stderrPath);
    // The window maps before start-up is done; on a busy machine the first
    // title frame can come well after it.
    Screenshot shot;
    const double giveUp = nowSeconds() + 10.0;
    do {
        sleepSeconds(0.25);
        shot = takeScreenshot();
    } while (shot.valid() && countPixels(shot, isYellow) == 0 && nowSeconds() < giveUp);
    ASSERT_TRUE(shot.valid());
    ASSERT_EQ(shot.width, windowWidth);
    ASSERT_EQ(shot.height, windowHeight);
    const int wrong = mismatches(shot, inkMask(titleLines), isYellow);
    if (wrong) takeScreenshot("e2e_title_first_mismatch.png");
    EXPECT_EQ(wrong, 0) << "yellow pixels that differ from the three lines' glyphs";
    EXPECT_GT(countPixels(shot, isYellow), 1000);
    EXPECT_EQ(countPixels(shot, isTitleRed), 0) << "no previous score before the first game";
    EXPECT_TRUE(running.quitWithEscape());
}

TEST(TitleScreen, AfterAGameThePreviousScoreIsShownInRedCentredUnderTheOtherLines) {
    RunningGame running;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(running.game.stderrPath);
    ASSERT_TRUE(waitFor(
        [] {
            const Screenshot title = takeScreenshot();
            return title.valid() && countPixels(title, isYellow) > 1000;
        },
        20.0));
    ASSERT_TRUE(pressKeyUntil(
        "space",
        [] {
            const Screenshot play = takeScreenshot();
            return play.valid() && countPixels(play, isGreen) > 10000;
        },
        20.0))
        << "no game after Space";
    // Straight up from the middle row the head meets the top edge in about 1.1 s.
    holdKey("Up", 2.0);

    std::vector<Line> yellowLines = titleLines;
    yellowLines.push_back(bestGamesLine);
    Screenshot shot;
    bool backOnTitle = false;
    const double giveUp = nowSeconds() + 20.0;
    while (!backOnTitle && nowSeconds() < giveUp) {
        shot = takeScreenshot();
        backOnTitle = shot.valid() && mismatches(shot, inkMask(yellowLines), isYellow) == 0 &&
                      countPixels(shot, isTitleRed) > 0;
        if (!backOnTitle) sleepSeconds(0.2);
    }
    if (!backOnTitle) takeScreenshot("e2e_title_after_game_missing.png");
    ASSERT_TRUE(backOnTitle) << "no title screen with a red previous score within 20 s of the game";

    // Nothing eaten on the way up leaves score 1, drawn from x = 384. Food that
    // happened to lie in the snake's path raises it; the line must then still
    // be exactly "Previous score N" centred the same way.
    int shownScore = 0;
    for (int score = 1; score < 100 && shownScore == 0; ++score)
        if (mismatches(shot, inkMask({previousScoreLine(score)}), isTitleRed) == 0) shownScore = score;
    if (shownScore == 0) takeScreenshot("e2e_title_after_game_mismatch.png");
    ASSERT_NE(shownScore, 0) << "the red pixels are not \"Previous score N\" at x = 512 - 8n, y = 324";
    if (shownScore != 1) std::printf("note: the snake ate on its way up; previous score %d\n", shownScore);
    EXPECT_TRUE(running.quitWithEscape());
}

}  // namespace
