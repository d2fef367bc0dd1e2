// Playing the real game: the board on the turning cylinder, a game over and
// a second game, with and without off-screen rendering.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e/game_process.h"

namespace {

bool greenish(const Screenshot& s, int x, int y) { return s.g(x, y) > s.r(x, y) + 20 && s.g(x, y) > s.b(x, y) + 20; }
bool reddish(const Screenshot& s, int x, int y) { return s.r(x, y) > s.g(x, y) + 40 && s.r(x, y) > s.b(x, y) + 40; }
bool blackish(const Screenshot& s, int x, int y) { return s.r(x, y) < 10 && s.g(x, y) < 10 && s.b(x, y) < 10; }
// Lit stone: grey, neither black nor tinted.
bool stoneGrey(const Screenshot& s, int x, int y) {
    const int r = s.r(x, y), g = s.g(x, y), b = s.b(x, y);
    return r > 40 && std::abs(r - g) < 12 && std::abs(g - b) < 24;
}

int countIn(const Screenshot& s, int x0, int y0, int x1, int y1, bool (*kind)(const Screenshot&, int, int)) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += kind(s, x, y);
    return n;
}

// What the first frames of a game look like (rows counted from the top).
void expectTheBoardOnTheCylinder(const Screenshot& shot) {
    ASSERT_TRUE(shot.valid());
    // Grass over the front of the cylinder, away from the head.
    EXPECT_GT(countIn(shot, 440, 200, 584, 320, greenish), 144 * 120 * 3 / 4);
    // The stone row along the board's bottom edge at the foot of the window.
    EXPECT_GT(countIn(shot, 480, 748, 544, 764, stoneGrey), 64 * 16 / 2);
    // The head faces the viewer in the middle.
    EXPECT_GT(countIn(shot, 492, 364, 532, 404, reddish), 100);
    // Black beside the cylinder.
    EXPECT_EQ(countIn(shot, 0, 100, 300, 700, blackish), 300 * 600);
    EXPECT_EQ(countIn(shot, 724, 100, 1024, 700, blackish), 300 * 600);
}

bool yellowish(const Screenshot& s, int x, int y) { return s.r(x, y) > 200 && s.g(x, y) > 200 && s.b(x, y) < 60; }

// The title's yellow lines and no grass: a window not drawn yet is no title.
bool looksLikeTitle(const Screenshot& shot) {
    return shot.valid() && countIn(shot, 300, 300, 724, 450, yellowish) > 500 &&
           countIn(shot, 300, 100, 724, 700, greenish) == 0;
}

// Ends the game if a failed assertion left it running.
struct RunningGame {
    GameProcess game;
    ~RunningGame() { killGame(game); }
};

// Space on the title; true once the board shows (a busy machine may take a while).
bool startPlaying() {
    return pressKeyUntil(
        "space",
        [] {
            const Screenshot shot = takeScreenshot();
            return shot.valid() && countIn(shot, 440, 200, 584, 320, greenish) > 144 * 120 / 2;
        },
        20.0);
}

bool quitWithEscape(GameProcess& game) {
    keyDownX("Escape");
    const bool ended = waitForExit(game, 20.0);
    keyUpX("Escape");
    if (!ended) killGame(game);
    return ended && game.exitStatus == 0;
}

TEST(Play, SpaceShowsTheBoardOnTheCylinderAndAfterAGameOverTheNextGameShowsItAgain) {
    RunningGame running{startGame()};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    ASSERT_TRUE(waitFor([] { return looksLikeTitle(takeScreenshot()); }, 20.0));

    ASSERT_TRUE(startPlaying());
    expectTheBoardOnTheCylinder(takeScreenshot("e2e_play_first_game.png"));

    // Straight up, the head reaches the top edge in about a second.
    holdKey("Up", 2.0);
    bool backOnTitle = false;
    for (const double giveUp = nowSeconds() + 20.0; !backOnTitle && nowSeconds() < giveUp;) {
        backOnTitle = looksLikeTitle(takeScreenshot());
        if (!backOnTitle) sleepSeconds(0.2);
    }
    ASSERT_TRUE(backOnTitle) << "the game did not end at the top edge";

    ASSERT_TRUE(startPlaying());
    expectTheBoardOnTheCylinder(takeScreenshot("e2e_play_second_game.png"));
    EXPECT_TRUE(quitWithEscape(game)) << "Escape during play ends with status 0";
}

TEST(Play, WithoutOffScreenRenderingTheBoardStillShowsOnTheCylinder) {
    RunningGame running{startGame({"MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object"})};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.3);
    ASSERT_TRUE(startPlaying());
    expectTheBoardOnTheCylinder(takeScreenshot("e2e_play_without_fbo.png"));
    EXPECT_TRUE(quitWithEscape(game));
    EXPECT_NE(readFile(game.stdoutPath).find("GL_EXT_framebuffer_object is NOT supported"), std::string::npos);
}

}  // namespace
