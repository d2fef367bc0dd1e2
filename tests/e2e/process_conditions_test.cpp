// The real game under conditions a desktop gives it: closed standard
// streams, a reader that goes away, termination signals and a stall.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <string>

#include "e2e/game_process.h"
#include "e2e/screen_pixels.h"

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
