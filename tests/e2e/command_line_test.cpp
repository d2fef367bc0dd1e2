// The real binary's options: those answered without a window, and those that
// open one (a recording replayed, a recording timed, an unknown argument).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "e2e/game_process.h"
#include "rules/recording_file.h"
#include "support/recorded_games.h"

namespace {

std::string keptGamePath(const std::string& name) { return testDataFolder() + "/" + name + ".twrec"; }

// short_game with a longer first step, which the rules refuse (the head
// reaches the edge sooner), and with its checksum spoilt too if asked.
std::string spoiledShortGame(const std::string& name, bool checksumToo) {
    Recording recording;
    std::string problem;
    EXPECT_TRUE(loadKeptRecording("short_game", recording, problem)) << problem;
    recording.frameTimes[0] = 0.05;
    std::vector<std::uint8_t> bytes;
    encodeRecording(recording, bytes);
    if (checksumToo) bytes.back() ^= 1;
    std::string path = "/tmp/tubewyrm-e2e-" + std::to_string(getpid()) + "-" + name + ".twrec";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
    return path;
}

TEST(CommandLine, OptionsAnsweredWithoutAWindowPrintTheirLinesAndExit) {
    const std::string damaged = spoiledShortGame("damaged", true);
    const std::string refused = spoiledShortGame("refused", false);
    const std::string missing = "/tmp/tubewyrm-e2e-no-such-recording.twrec";
    const std::string cannot = "tubewyrm: cannot play the recording ";
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        int status;
        std::string outputStart;  // standard output begins with it, and is nothing more when it is empty
        std::string errors;       // a regular expression for the whole of standard error
    } table[] = {
        {"help, with an unknown argument named",
         {"--help", "--bogus"},
         0,
         "Usage: tubewyrm [--replay FILE | --timedemo FILE]\n",
         "tubewyrm: ignoring the argument \"--bogus\" .*\n"},
        {"version", {"--version"}, 0, "tubewyrm " TUBEWYRM_VERSION "\n", ""},
        {"replay without a file", {"--replay"}, 1, "", "tubewyrm: --replay needs a recording file\n"},
        {"a missing file", {"--replay", missing}, 1, "", cannot + missing + ": No such file or directory\n"},
        {"a damaged file, named after =", {"--timedemo=" + damaged}, 1, "", cannot + damaged + ": bad checksum\n"},
        {"a file the rules refuse, before a second recording",
         {"--replay", refused, "--timedemo", keptGamePath("short_game")},
         1,
         "",
         "tubewyrm: ignoring --timedemo .*: one recording at a time\n" + cannot + refused + ": misses checkpoint .*\n"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        GameProcess game = startGame({}, StandardStreams::files, row.arguments);
        const bool ended = waitForExit(game, 30.0);
        if (!ended) killGame(game);
        ASSERT_TRUE(ended);
        EXPECT_EQ(game.exitStatus, row.status);
        // Nothing of the extension names that setting up the display prints.
        const std::string output = readFile(game.stdoutPath);
        EXPECT_EQ(output.substr(0, row.outputStart.size()), row.outputStart);
        EXPECT_EQ(output.size() > row.outputStart.size(), row.outputStart.starts_with("Usage")) << output;
        const std::string errors = readFile(game.stderrPath);
        EXPECT_TRUE(std::regex_match(errors, std::regex(row.errors))) << errors;
    }
    static_cast<void>(std::remove(damaged.c_str()));
    static_cast<void>(std::remove(refused.c_str()));
}

// Grass in the middle of the drum: a game replaying.
bool showsReplay(const Screenshot& shot) {
    int green = 0;
    for (int y = 200; y < 320; ++y)
        for (int x = 440; x < 584; ++x) green += shot.g(x, y) > shot.r(x, y) + 20 && shot.g(x, y) > shot.b(x, y) + 20;
    return green > 144 * 120 / 2;
}
// The title's first line, in yellow where the drum would be.
bool showsTitle(const Screenshot& shot) {
    int yellow = 0;
    for (int y = 376; y < 392; ++y)
        for (int x = 336; x < 680; ++x) yellow += shot.r(x, y) > 200 && shot.g(x, y) > 200 && shot.b(x, y) < 60;
    return yellow > 200;
}

TEST(CommandLine, ReplayShowsTheRecordingBeforeTheTitleAndAnUnknownArgumentOnlyItsLine) {
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::string errors;
        std::vector<std::string> screens;  // each change of what the window shows
    } table[] = {
        {"an unknown argument",
         {"--fullscreen"},
         "tubewyrm: ignoring the argument \"--fullscreen\" (tubewyrm --help lists the options)\n",
         {"title"}},
        {"a replay", {"--replay", keptGamePath("short_game")}, "", {"replay", "title"}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        GameProcess game = startGame({}, StandardStreams::files, row.arguments);
        ASSERT_TRUE(waitForWindow(30.0)) << readFile(game.stderrPath);
        std::vector<std::string> screens;
        const double end = nowSeconds() + 30.0;
        while (nowSeconds() < end && (screens.empty() || screens.back() != "title")) {
            const Screenshot shot = takeScreenshot();
            const std::string now = !shot.valid() ? "" : showsReplay(shot) ? "replay" : showsTitle(shot) ? "title" : "";
            if (!now.empty() && (screens.empty() || screens.back() != now)) screens.push_back(now);
        }
        EXPECT_EQ(screens, row.screens);
        keyDownX("Escape");
        const bool ended = waitForExit(game, 20.0);
        keyUpX("Escape");
        if (!ended) killGame(game);
        ASSERT_TRUE(ended);
        EXPECT_EQ(game.exitStatus, 0);
        EXPECT_EQ(readFile(game.stderrPath), row.errors);
    }
}

TEST(CommandLine, TimedemoDrawsEveryRecordedFrameAndEndsWithItsTimings) {
    int recordedFrames = -1;
    for (const KeptGame& kept : keptGames())
        if (kept.name == "short_game") recordedFrames = kept.frames;
    GameProcess game = startGame({}, StandardStreams::files, {"--timedemo", keptGamePath("short_game")});
    const bool ended = waitForExit(game, 120.0);
    if (!ended) killGame(game);
    ASSERT_TRUE(ended);
    EXPECT_EQ(game.exitStatus, 0) << readFile(game.stderrPath);
    // The last line, after the extension names and the line on off-screen rendering.
    const std::string output = readFile(game.stdoutPath);
    const std::string support = "\r\nGL_EXT_framebuffer_object is supported\r\n";
    const std::size_t last = output.rfind(support);
    ASSERT_NE(last, std::string::npos) << output;
    const std::string line = output.substr(last + support.size());
    const std::regex form(R"(timedemo: frames=(\d+) seconds=\d+\.\d{3} fps=\d+\.\d low1=\d+\.\d p99ms=\d+\.\d{2}\r\n)");
    std::smatch numbers;
    ASSERT_TRUE(std::regex_match(line, numbers, form)) << line;
    EXPECT_EQ(std::stoi(numbers[1]), recordedFrames);
}

}  // namespace
