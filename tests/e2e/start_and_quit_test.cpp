// The real binary as a process: its console lines, its window, both ways out,
// and the conditions a desktop gives it (closed standard streams, a reader that
// goes away, termination signals and a stall).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <string>

#include "e2e/game_process.h"
#include "e2e/screen_pixels.h"

// The real binary: its console lines, its window, and both ways out.
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

// The real game under conditions a desktop gives it: closed standard
// streams, a reader that goes away, termination signals and a stall.
namespace process_conditions {

namespace {

bool startPlaying() { return pressKeyUntil("space", showsPlay, 20.0); }

TEST(ProcessConditions, WithAllStandardStreamsClosedTheGameShowsAndPlaysAndEnds) {
    RunningGame running{startGame({}, StandardStreams::closed)};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0));
    EXPECT_TRUE(waitFor(showsTitle, 20.0)) << "the title never showed";
    EXPECT_TRUE(startPlaying()) << "no game after Space";
    EXPECT_TRUE(quitWithEscape(game)) << "Escape did not end the game with status 0";
}

TEST(ProcessConditions, AReaderThatGoesAwayDoesNotEndTheGame) {
    RunningGame running{startGame({}, StandardStreams::pipe)};
    GameProcess& game = running.game;
    ASSERT_GE(game.outputPipe, 0);
    // One line, and then nobody reads standard output any more.
    std::string first;
    char c = 0;
    while (read(game.outputPipe, &c, 1) == 1 && c != '\n') first += c;
    close(game.outputPipe);
    game.outputPipe = -1;
    EXPECT_EQ(first.rfind("GL_", 0), 0u) << first;

    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    ASSERT_TRUE(waitFor(showsTitle, 20.0));
    EXPECT_TRUE(startPlaying());
    // Escape in play closes the console, which writes what is still buffered.
    EXPECT_TRUE(quitWithEscape(game)) << "status " << game.exitStatus << "; 128 + 13 is death by SIGPIPE";
}

TEST(ProcessConditions, TerminationSignalsEndTheGameAfterItsOutputAndAsKilledByThem) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE("signal " + std::to_string(signal));
        RunningGame running{startGame({}, StandardStreams::pipe)};
        GameProcess& game = running.game;
        ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
        ASSERT_TRUE(waitFor(showsTitle, 20.0));
        ASSERT_TRUE(startPlaying());
        kill(game.pid, signal);
        // The pipe holds the whole console output: the game never waits on it.
        const std::string output = readOutputPipe(game);
        ASSERT_TRUE(waitForExit(game, 20.0)) << "still running after the signal";
        EXPECT_EQ(game.exitStatus, 128 + signal);
        const std::string last = "GL_EXT_framebuffer_object is supported\r\n";
        EXPECT_GT(output.size(), 1000u);
        EXPECT_TRUE(output.size() >= last.size() && output.compare(output.size() - last.size(), last.size(), last) == 0)
            << "the console output ends with the support line; it ends with: "
            << output.substr(output.size() > 80 ? output.size() - 80 : 0);
    }
}

TEST(ProcessConditions, AStopOfSecondsDoesNotThrowTheHeadIntoTheEdge) {
    RunningGame running{startGame()};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    ASSERT_TRUE(waitFor(showsTitle, 20.0));
    ASSERT_TRUE(startPlaying());
    // Up from the middle row: the top edge is 110 board pixels and at least
    // 1.1 s of play away, 0.8 s after the key. A stall of 3 s taken whole
    // would be 300 pixels.
    holdKey("Up", 0.3);
    kill(game.pid, SIGSTOP);
    // The last picture before the stop, to know the first one after it.
    const Screenshot stopped = takeScreenshot();
    ASSERT_TRUE(stopped.valid());
    sleepSeconds(3.0);
    kill(game.pid, SIGCONT);
    Screenshot after;
    ASSERT_TRUE(waitFor(
        [&] {
            after = takeScreenshot();
            return after.valid() && after.rgb != stopped.rgb;
        },
        20.0))
        << "no new frame after the stall";
    EXPECT_TRUE(looksLikePlay(after)) << "the game ended at the first frame after the stall";
    // It still ends at the top edge in the end.
    EXPECT_TRUE(waitFor(showsTitle, 20.0));
    EXPECT_TRUE(quitWithEscape(game));
}

}  // namespace

}  // namespace process_conditions
