// The real binary: its console lines, its window, and both ways out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "e2e/game_process.h"
#include "e2e/screen_pixels.h"

namespace {

std::vector<std::string> crlfLines(const std::string& text, bool* allCrlf) {
    std::vector<std::string> lines;
    *allCrlf = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            *allCrlf = false;
            lines.push_back(text.substr(start));
            break;
        }
        if (lf == start || text[lf - 1] != '\r') *allCrlf = false;
        lines.push_back(text.substr(start, lf - start - (lf > start && text[lf - 1] == '\r' ? 1 : 0)));
        start = lf + 1;
    }
    return lines;
}

TEST(StartAndQuit, PrintsTheExtensionsThenTheSupportLineAndEndsWithSpaceThenEscape) {
    RunningGame running{startGame()};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.3);
    Screenshot title = takeScreenshot("e2e_first_title.png");
    ASSERT_TRUE(title.valid());
    EXPECT_EQ(title.width, 1024);
    EXPECT_EQ(title.height, 768);

    ASSERT_TRUE(pressKeyUntil("space", showsPlay, 20.0)) << "no game after Space";
    // Generous: how soon it ends depends on how busy the machine is.
    ASSERT_TRUE(quitWithEscape(game)) << "not ended with status 0 after Escape: " << game.exitStatus;

    bool allCrlf = false;
    std::vector<std::string> lines = crlfLines(readFile(game.stdoutPath), &allCrlf);
    EXPECT_TRUE(allCrlf) << "every console line ends with CR LF";
    ASSERT_GE(lines.size(), 10u) << "expected many extension names";
    EXPECT_EQ(lines.back(), "GL_EXT_framebuffer_object is supported");
    bool sawGlx = false;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_FALSE(lines[i].empty());
        std::size_t space = lines[i].find(' ');
        EXPECT_TRUE(space == std::string::npos || space == lines[i].size() - 1) << "one name per line: " << lines[i];
        if (lines[i].rfind("GLX_", 0) == 0) sawGlx = true;
    }
    EXPECT_TRUE(sawGlx) << "the window system's names follow the GL names";
    EXPECT_EQ(lines.front().rfind("GL_", 0), 0u);
}

TEST(StartAndQuit, WithoutADisplayItSaysSoAndExitsOne) {
    GameProcess game = startGame({"-DISPLAY", "-WAYLAND_DISPLAY", "-SDL_VIDEODRIVER"});
    bool ended = waitForExit(game, 20.0);
    if (!ended) killGame(game);
    ASSERT_TRUE(ended) << "a game without a display must not run on blind";
    EXPECT_EQ(game.exitStatus, 1);
    std::string error = readFile(game.stderrPath);
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    EXPECT_TRUE(readFile(game.stdoutPath).empty());
}

// Keys pressed while another window has the focus are not the game's.
TEST(StartAndQuit, KeysAreIgnoredWhileTheWindowHasNoFocus) {
    RunningGame running{startGame()};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.2);
    ASSERT_EQ(std::system("xdotool windowfocus $(xdotool search --maxdepth 0 --name '' | head -n 1)"), 0);
    sleepSeconds(0.2);
    holdKey("Escape", 0.3);
    ASSERT_EQ(std::system(("xdotool windowfocus " + gameWindowId()).c_str()), 0);
    // The game reads its input in order: once Space, pressed after that
    // Escape, has started a game, the Escape has been read too, however busy
    // the machine. A game that took it has ended and shows nothing.
    const bool played = pressKeyUntil("space", showsPlay, 20.0);
    ASSERT_FALSE(!played && waitForExit(game, 0.0)) << "Escape reached the game while another window had the focus";
    ASSERT_TRUE(played) << "no game after Space with the focus back";
    EXPECT_TRUE(quitWithEscape(game)) << "Escape with the focus back did not end the game with status 0";
}

}  // namespace
