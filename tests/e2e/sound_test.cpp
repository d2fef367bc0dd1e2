// The real game's sound, written by SDL's disk driver to a file, and the
// game without any usable sound output.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/game_process.h"
#include "e2e/screen_pixels.h"

namespace {

// Yellow letters in the row below the score lines, where the M reminder goes.
int reminderInk() {
    const Screenshot shot = takeScreenshot();
    return shot.valid() ? countIn(shot, 340, 476, 684, 492, titleYellow) : -1;
}
bool reminderShows() { return reminderInk() > 100; }

// Space, then Up held until the head reaches the stone row and the title is back.
bool playOneGameToItsEnd() {
    if (!pressKeyUntil("space", showsPlay, 20.0)) return false;
    holdKey("Up", 2.0);
    return waitFor(showsTitle, 20.0);
}

// The loudest sample of a file of 32-bit floats; -1 when there is none.
float loudestSample(const std::string& path) {
    const std::string bytes = readFile(path);
    if (bytes.size() < sizeof(float)) return -1.0f;
    float loudest = 0.0f;
    for (std::size_t i = 0; i + sizeof(float) <= bytes.size(); i += sizeof(float)) {
        float sample = 0.0f;
        std::memcpy(&sample, bytes.data() + i, sizeof sample);
        loudest = std::max(loudest, std::fabs(sample));
    }
    return loudest;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Sound, AGameIsHeardOnTheOutputAndAfterMNothingIsAndTheTitleSaysSo) {
    for (const bool pressM : {false, true}) {
        const std::string output = "e2e_sound_" + std::to_string(getpid()) + (pressM ? "_muted" : "") + ".raw";
        std::remove(output.c_str());  // NOLINT(cert-err33-c): a file left from an earlier run may or may not be there
        RunningGame running{startGame({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + output})};
        GameProcess& game = running.game;
        ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
        ASSERT_TRUE(waitFor(showsTitle, 20.0));
        EXPECT_EQ(reminderInk(), 0) << "sound is on: no reminder of M";
        if (pressM) {
            ASSERT_TRUE(pressKeyUntil("m", reminderShows, 20.0)) << "no reminder of M";
        }
        ASSERT_TRUE(playOneGameToItsEnd());
        if (pressM) {
            EXPECT_TRUE(reminderShows()) << "the reminder stays while sound is off";
        }
        EXPECT_TRUE(quitWithEscape(game)) << readFile(game.stderrPath);
        const float loudest = loudestSample(output);
        std::remove(output.c_str());  // NOLINT(cert-err33-c): a file left in the build folder harms nothing
        if (pressM) {
            EXPECT_EQ(loudest, 0.0f) << "silence from M on";
        } else {
            EXPECT_GT(loudest, 0.1f) << "the start and the death were heard";
            EXPECT_LE(loudest, 0.71f);
        }
    }
}

TEST(Sound, WithoutAUsableOutputTheGamePlaysAndOneLineSaysSoundIsOff) {
    // No such driver; and ALSA asked for a card no machine has, which makes
    // its library print lines of its own that must not reach the player.
    const std::vector<std::vector<std::string>> environments = {
        {"SDL_AUDIODRIVER=nosuchdriver"},
        {"SDL_AUDIODRIVER=alsa", "AUDIODEV=hw:99"},
    };
    for (const auto& environment : environments) {
        const std::string& name = environment[0];
        RunningGame running{startGame(environment)};
        GameProcess& game = running.game;
        ASSERT_TRUE(waitForWindow(20.0)) << name << ": " << readFile(game.stderrPath);
        // Two titles: the output is tried again on the second, silently.
        ASSERT_TRUE(playOneGameToItsEnd()) << name;
        ASSERT_TRUE(pressKeyUntil("space", showsPlay, 20.0)) << name;
        EXPECT_TRUE(quitWithEscape(game)) << name;
        const std::vector<std::string> lines = linesOf(readFile(game.stderrPath));
        ASSERT_EQ(lines.size(), 1u) << name << ": " << readFile(game.stderrPath);
        EXPECT_EQ(lines[0].rfind("tubewyrm: sound is off: ", 0), 0u) << lines[0];
    }
}

}  // namespace
