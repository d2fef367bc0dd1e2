// C switches the palette on the title, in play and while paused; each run is
// compared with the same run without C, which must end in the same game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "render/framebuffer_api.h"
#include "support/scripted_platform.h"

namespace {

// The scripted times at which the board pass drew into the board target: it
// is the only pass that binds it. While paused, nothing else draws the board.
constexpr GLuint boardFramebuffer = 7;
std::vector<double> boardPassTimes;

void noteBind(GLenum, GLuint framebuffer) {
    if (framebuffer == boardFramebuffer) boardPassTimes.push_back(scriptTime());
}

// Sees the board passes for as long as it lives; puts back what an earlier
// test loaded.
class BoardPassSpy {
public:
    BoardPassSpy() {
        boardPassTimes.clear();
        framebufferApi.glBindFramebufferEXT = &noteBind;
    }
    ~BoardPassSpy() { framebufferApi = saved; }
    BoardPassSpy(const BoardPassSpy&) = delete;
    BoardPassSpy& operator=(const BoardPassSpy&) = delete;

private:
    FramebufferApi saved = framebufferApi;
};

// How many of the times lie in [from, to).
long countBetween(const std::vector<double>& times, double from, double to) {
    return std::count_if(times.begin(), times.end(), [&](double t) { return t >= from && t < to; });
}

struct Step {
    double at;
    Happening what;
    int key;
};

struct Outcome {
    bool contrast = false;
    PlayState play;
    std::size_t randomsLeft = 0;
    std::vector<std::string> kept;  // the choices handed to the settings file
    std::vector<double> boardPasses;
    std::vector<double> presents;
};

Outcome run(const std::vector<Step>& steps, bool withC) {
    resetScriptedPlatform();
    scripted().randoms = {0.3, 0.6, 0.9, 0.2, 0.7, 0.4};
    for (const Step& s : steps)
        if (withC || s.key != scanC) scriptAt(s.at, s.what, s.key);
    const BoardPassSpy spy;
    Program program;
    program.boardTarget.framebuffer = boardFramebuffer;
    program.play.reversalPulse = 10.0f;  // running: any time let through moves it
    EXPECT_NO_THROW(runSession(program));
    return {program.contrastPalette, program.play,   scripted().randoms.size(),
            scripted().keptSettings, boardPassTimes, scripted().presentTimes};
}

TEST(PaletteSwitch, CSwitchesOnItsPressOnTheTitleInPlayAndPausedMovesNothingAndRedrawsAStillBoard) {
    const struct {
        std::string name;
        std::vector<Step> steps;
        bool contrast;
        double pausedFrom;  // 0: never paused
    } cases[] = {
        {"title, tapped twice",
         {{0.5, Happening::tap, scanC}, {1.0, Happening::tap, scanC}, {2.0, Happening::tap, scanEscape}},
         false,
         0.0},
        {"in play",
         {{0.2, Happening::tap, scanSpace}, {0.5, Happening::tap, scanC}, {1.5, Happening::tap, scanEscape}},
         true,
         0.0},
        {"paused, P still held",
         {{0.2, Happening::tap, scanSpace},
          {0.5, Happening::keyDown, scanP},
          {0.8, Happening::tap, scanC},
          {1.5, Happening::tap, scanEscape}},
         true,
         0.6},
        {"paused, tapped three times",
         {{0.2, Happening::tap, scanSpace},
          {0.5, Happening::tap, scanP},
          {0.8, Happening::tap, scanC},
          {1.0, Happening::tap, scanC},
          {1.2, Happening::tap, scanC},
          {1.5, Happening::tap, scanEscape}},
         true,
         0.6},
        // The press comes while the still picture is presented, not while the
        // loop waits: a wait that sees no key must still draw again.
        {"paused, pressed while the still picture is presented",
         {{0.2, Happening::tap, scanSpace},
          {0.5, Happening::tap, scanP},
          {1.0, Happening::exposed, 0},
          {1.005, Happening::tap, scanC},
          {1.5, Happening::tap, scanEscape}},
         true,
         0.6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome with = run(c.steps, true);
        const Outcome without = run(c.steps, false);
        EXPECT_EQ(with.contrast, c.contrast);
        EXPECT_FALSE(without.contrast);
        ASSERT_FALSE(with.kept.empty()) << "every switch is remembered";
        EXPECT_EQ(with.kept.back(), c.contrast ? "palette=contrast" : "palette=design");
        EXPECT_TRUE(without.kept.empty());
        EXPECT_EQ(with.play, without.play);
        EXPECT_EQ(with.randomsLeft, without.randomsLeft) << "the random stream is the food's alone";
        if (c.pausedFrom == 0.0) continue;
        // Paused, each C draws the board again in the new colours, then the
        // still picture is presented; without C nothing is drawn.
        const double end = c.steps.back().at;
        EXPECT_EQ(countBetween(without.boardPasses, c.pausedFrom, end), 0);
        long presses = 0;
        for (const Step& s : c.steps) {
            if (s.key != scanC) continue;
            ++presses;
            SCOPED_TRACE(s.at);
            // The press is seen at its scripted time, give or take rounding.
            const double pressed = s.at - 1e-9;
            const auto redrawn = std::find_if(with.boardPasses.begin(), with.boardPasses.end(),
                                              [&](double t) { return t >= pressed; });
            ASSERT_NE(redrawn, with.boardPasses.end()) << "the board drawn again";
            EXPECT_LT(*redrawn, s.at + 0.05);
            EXPECT_GT(countBetween(with.presents, *redrawn + 1e-9, s.at + 0.05), 0) << "a picture after it";
        }
        EXPECT_EQ(countBetween(with.boardPasses, c.pausedFrom, end), presses);
    }
}

}  // namespace
