// The real game's sound through a real PulseAudio server of the test's own,
// the path desktops take (PipeWire's PulseAudio server speaks the same
// protocol), recorded from the server's null sink and read back as samples:
// the effects at their level, the game going on when the server dies under
// it, and sound again at the next title once a server is back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/game_process.h"
#include "e2e/screen_pixels.h"
#include "sound/sound_effects.h"

namespace {

constexpr int recordRate = 48000;
constexpr int recordChannels = 2;
constexpr std::size_t frameBytes = sizeof(std::int16_t) * recordChannels;
// Two square notes: the start effect's length in the game.
constexpr double startEffectSeconds = 0.34;
// Its level is judged on its first 20 ms, where it reaches its peak: food that
// happens to lie in front of the head is eaten within a few frames of the
// start, and its chirp then sounds over the rest (seen: a 6 eaten 53 ms in, a
// peak of twice the start's).
constexpr double judgedSeconds = 0.02;

// Yellow letters in the row below the score lines, where the title says
// "No sound output found..." (or "Press M for sound...", which is shorter).
int soundLineInk() {
    const Screenshot shot = takeScreenshot();
    return shot.valid() ? countIn(shot, 300, 476, 724, 492, titleYellow) : -1;
}
// The title's yellow lines are these and the three at its top, glyph for glyph.
bool yellowLinesAre(const std::vector<TextLine>& below) {
    std::vector<TextLine> lines = {{"Tubewyrm on the drum!", 344, 384},
                                   {"Press Space to play...", 336, 364},
                                   {"Press Escape to exit...", 328, 344}};
    lines.insert(lines.end(), below.begin(), below.end());
    const Screenshot shot = takeScreenshot();
    return shot.valid() && mismatches(shot, inkMask(lines), titleYellow) == 0;
}
// After a game, with a game kept: the B line comes right under the last line.
bool noOutputLineShows() {
    return yellowLinesAre({{"No sound output found...", 320, 284}, {"Press B for best games...", 312, 264}});
}
bool onlyTheBestGamesLineShows() { return yellowLinesAre({{"Press B for best games...", 312, 284}}); }

// The middle of the window, where the turning cylinder is.
std::vector<std::uint8_t> playArea(const Screenshot& shot) {
    std::vector<std::uint8_t> area;
    for (int y = 100; y < 700; ++y)
        for (int x = 300; x < 724; ++x) area.insert(area.end(), {shot.r(x, y), shot.g(x, y), shot.b(x, y)});
    return area;
}
// A game still being played picture after picture: the board shows and moves.
bool playGoesOn() {
    const Screenshot first = takeScreenshot();
    if (!first.valid()) return false;
    return waitFor(
        [&] {
            const Screenshot next = takeScreenshot();
            return looksLikePlay(next) && playArea(next) != playArea(first);
        },
        5.0);
}

bool installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Samples of an s16le stereo recording, as magnitudes in [0, 1].
std::vector<float> readRecording(const std::string& path, std::size_t fromByte) {
    const std::string bytes = readFile(path);
    std::vector<float> samples;
    for (std::size_t i = fromByte - fromByte % frameBytes; i + sizeof(std::int16_t) <= bytes.size();
         i += sizeof(std::int16_t)) {
        std::int16_t sample = 0;
        std::memcpy(&sample, bytes.data() + i, sizeof sample);
        samples.push_back(std::fabs(static_cast<float>(sample) / 32768.0f));
    }
    return samples;
}

float peakOf(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    float peak = 0.0f;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) peak = std::max(peak, samples[i]);
    return peak;
}

float rmsOf(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    to = std::min(to, samples.size());
    if (to <= from) return 0.0f;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

std::size_t samplesIn(double seconds) { return static_cast<std::size_t>(seconds * recordRate) * recordChannels; }

double decibels(float level) { return 20.0 * std::log10(std::max(level, 1e-9f)); }

// What one recording shows around a press of Space.
struct StartHeard {
    double secondsBeforeSpace = 0.0;  // recorded before Space was first pressed
    float peakBeforeSpace = -1.0f;
    bool effectFound = false;
    float effectPeak = 0.0f;
    float effectRms = 0.0f;
};

class PulseSound : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"pulseaudio", "parec", "pactl"})
            if (!installed(program))
                GTEST_SKIP() << program
                             << " is not installed (packages pulseaudio and pulseaudio-utils; "
                                "./scripts/install-packages.sh test installs them)";
        char name[] = "/tmp/tubewyrm-e2e-pulse-XXXXXX";  // made 0700
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        // The server's runtime folder must be its user's alone, or it refuses it.
        runtime = folder + "/runtime";
        ASSERT_EQ(mkdir(runtime.c_str(), 0700), 0);
        socketPath = runtime + "/native";
        // Everything the server and its clients find through these stays in
        // the folder: never the desktop's own sound server or its settings.
        privateEnvironment = {"HOME=" + folder, "XDG_RUNTIME_DIR=" + runtime, "PULSE_SERVER=unix:" + socketPath};
        toolEnvironment = privateEnvironment;
        toolEnvironment.push_back("XDG_CONFIG_HOME=" + folder + "/config");
        // Should SDL not reach our server it would try its other drivers:
        // PipeWire finds no daemon in the private runtime folder, and ALSA's
        // default device here is the null one. Never the machine's speakers.
        std::ofstream(folder + "/alsa.conf") << "pcm.!default { type null }\n";
    }

    void TearDown() override {
        killGame(game);
        stopProgram(recorder, SIGTERM);
        stopProgram(server, SIGKILL);
        if (!folder.empty()) {
            if (HasFailure()) std::cerr << "server log:\n" << readFile(folder + "/server.log");
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }

    std::string pulseCommand(const std::string& command) const {
        std::string prefix;
        for (const std::string& entry : toolEnvironment) prefix += entry + " ";
        return prefix + command;
    }

    // A server with one null sink, "out", taking clients on the socket.
    bool startServer() {
        server = startProgram({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "-L",
                               "module-null-sink sink_name=out", "-L",
                               "module-native-protocol-unix socket=" + socketPath + " auth-anonymous=1"},
                              toolEnvironment, folder + "/server.log");
        return waitFor(
            [&] { return !exited(server) && std::system(pulseCommand("pactl info >/dev/null 2>&1").c_str()) == 0; },
            20.0);
    }

    bool gameStreamOnServer() const {
        return !runCommand(pulseCommand("pactl list short sink-inputs 2>/dev/null")).empty();
    }

    void startRecording(const std::string& path) {
        stopProgram(recorder, SIGTERM);
        // Short fragments: what the sink played reaches the file within a few
        // tens of milliseconds.
        recorder = startProgram(
            {"parec", "-d", "out.monitor", "--format=s16le", "--rate=48000", "--channels=2", "--latency-msec=20", path},
            toolEnvironment, folder + "/recorder.log");
    }

    std::size_t recordedBytes(const std::string& path) const {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        return error ? 0 : static_cast<std::size_t>(size);
    }

    // Records the title for a while, presses Space and records the start of
    // the game; the bytes in the file at the press were played before it.
    StartHeard recordTheStart(const std::string& path) {
        StartHeard heard;
        startRecording(path);
        if (!waitFor([&] { return recordedBytes(path) >= frameBytes * recordRate; }, 20.0)) return heard;
        const std::size_t atSpace = recordedBytes(path);
        heard.secondsBeforeSpace = static_cast<double>(atSpace) / frameBytes / recordRate;
        if (!pressKeyUntil("space", showsPlay, 20.0)) return heard;
        const std::vector<float> before = readRecording(path, 0);
        heard.peakBeforeSpace = peakOf(before, 0, atSpace / sizeof(std::int16_t));
        // The effect starts with the first sound after the press; wait until
        // all of it is in the file.
        std::size_t onset = 0;
        heard.effectFound = waitFor(
            [&] {
                const std::vector<float> after = readRecording(path, atSpace);
                const auto first = std::find_if(after.begin(), after.end(), [](float s) { return s > 0.01f; });
                onset = static_cast<std::size_t>(first - after.begin());
                return first != after.end() && after.size() >= onset + samplesIn(startEffectSeconds + 0.1);
            },
            10.0);
        const std::vector<float> after = readRecording(path, atSpace);
        heard.effectPeak = peakOf(after, onset, onset + samplesIn(judgedSeconds));
        heard.effectRms = rmsOf(after, onset, onset + samplesIn(judgedSeconds));
        return heard;
    }

    void expectHeardAtItsLevel(const StartHeard& heard, const char* when) {
        SCOPED_TRACE(when);
        std::printf("%s: %.2f s recorded before Space, peak %.5f; start effect peak %.4f (%.1f dBFS), "
                    "RMS %.4f (%.1f dBFS); the game makes a peak of %.4f (%.1f dBFS)\n",
                    when, heard.secondsBeforeSpace, heard.peakBeforeSpace, heard.effectPeak, decibels(heard.effectPeak),
                    heard.effectRms, decibels(heard.effectRms), soundEffectPeak, decibels(soundEffectPeak));
        EXPECT_GT(heard.secondsBeforeSpace, 0.0) << "nothing of the title recorded";
        EXPECT_GE(heard.peakBeforeSpace, 0.0f) << "the title was not recorded";
        EXPECT_LE(heard.peakBeforeSpace, 0.001f) << "the title is not silent";
        ASSERT_TRUE(heard.effectFound) << "no start effect after Space";
        // The server converts floats to 16 bits (and maybe the rate): a few dB.
        EXPECT_GE(decibels(heard.effectPeak), decibels(soundEffectPeak) - 3.0);
        EXPECT_LE(decibels(heard.effectPeak), decibels(soundEffectPeak) + 3.0);
        // Square notes have an RMS near their peak; the attack takes a few dB
        // off. A click would be far below.
        EXPECT_GE(decibels(heard.effectRms), decibels(soundEffectPeak) - 6.0);
    }

    std::string folder;
    std::string runtime;
    std::string socketPath;
    std::vector<std::string> privateEnvironment;  // the game's (it has config and data folders of its own)
    std::vector<std::string> toolEnvironment;     // the server's, the recorder's and pactl's
    pid_t server = -1;
    pid_t recorder = -1;
    GameProcess game;
};

TEST_F(PulseSound, EffectsAreHeardTheGameOutlivesItsServerAndSoundReturnsWithANewOne) {
    const double started = nowSeconds();
    ASSERT_TRUE(startServer()) << "the sound server did not start";
    std::vector<std::string> environment = {"-SDL_AUDIODRIVER", "-PIPEWIRE_RUNTIME_DIR", "-PIPEWIRE_REMOTE",
                                            "ALSA_CONFIG_PATH=" + folder + "/alsa.conf"};
    environment.insert(environment.end(), privateEnvironment.begin(), privateEnvironment.end());
    game = startGame(environment);
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    ASSERT_TRUE(waitFor(showsTitle, 20.0));
    EXPECT_EQ(soundLineInk(), 0) << "the server is there";
    ASSERT_TRUE(waitFor([&] { return gameStreamOnServer(); }, 20.0)) << "the game plays nothing to the server";
    expectHeardAtItsLevel(recordTheStart(folder + "/first.raw"), "first game");

    // The server dies in mid-game: the game goes on and ends as usual.
    stopProgram(server, SIGKILL);
    ASSERT_TRUE(waitFor([&] { return exited(recorder); }, 20.0)) << "the recorder did not see the server go";
    EXPECT_TRUE(playGoesOn()) << "no new pictures after the server went";
    sleepSeconds(0.5);
    EXPECT_TRUE(playGoesOn()) << "no new pictures after the server went";
    holdKey("Up", 2.0);
    ASSERT_TRUE(waitFor(showsTitle, 20.0)) << "the game did not end in the stone row";
    EXPECT_TRUE(waitFor(noOutputLineShows, 5.0)) << "the title does not say sound is missing";

    // A new server on the same socket, started in play; the next title finds it.
    ASSERT_TRUE(pressKeyUntil("space", showsPlay, 20.0));
    ASSERT_TRUE(startServer()) << "the second sound server did not start";
    holdKey("Up", 2.0);
    ASSERT_TRUE(waitFor(showsTitle, 20.0)) << "the second game did not end";
    EXPECT_TRUE(waitFor(onlyTheBestGamesLineShows, 5.0)) << "the title still says sound is missing";
    ASSERT_TRUE(waitFor([&] { return gameStreamOnServer(); }, 20.0)) << "the game did not find the new server";
    expectHeardAtItsLevel(recordTheStart(folder + "/after_restart.raw"), "after the restart");

    EXPECT_TRUE(quitWithEscape(game)) << readFile(game.stderrPath);
    // The failed open on the title without a server says so once; the
    // sound library itself prints nothing to the player's terminal.
    std::istringstream errors(readFile(game.stderrPath));
    std::vector<std::string> lines;
    for (std::string line; std::getline(errors, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u) << readFile(game.stderrPath);
    EXPECT_EQ(lines[0].rfind("tubewyrm: sound is off: ", 0), 0u) << lines[0];
    std::printf("run time of the scenario: %.1f s\n", nowSeconds() - started);
}

}  // namespace
