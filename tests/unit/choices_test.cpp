// The player's choices on P, C and M: one act per press, the palette switched
// on every screen, choices made in play, and choices kept from an earlier run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "render/framebuffer_api.h"
#include "sound/sound_effects.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

// C switches the palette on the title, in play and while paused; each run is
// compared with the same run without C, which must end in the same game.
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

// P, C and M act once on each press: a key held does not act again, and a
// key already held when a screen starts does not act there.
namespace key_latch {

namespace {

int choicesKept(const std::string& name) {
    const std::vector<std::string>& kept = scripted().keptSettings;
    return static_cast<int>(
        std::count_if(kept.begin(), kept.end(), [&](const std::string& line) { return line.starts_with(name + "="); }));
}

// Each pause and resume is heard once.
int pausesAndResumes() {
    const std::vector<int>& played = scripted().playedEffects;
    return static_cast<int>(std::count_if(played.begin(), played.end(),
                                          [](int effect) { return effect == soundPause || effect == soundResume; }));
}

int actsOf(int key) {
    switch (key) {
    case scanP: return pausesAndResumes();
    case scanC: return choicesKept("palette");
    default: return choicesKept("sound");
    }
}

// On the screen itself the key is held from 2 s to 3.5 s and tapped at
// 4.5 s. Held from the screen before, it goes down before Space (0.5 s) or
// P (1 s), comes up at 2 s and is tapped at 3 s.
enum class Press { onTheScreen, heldFromTheScreenBefore };

struct Row {
    const char* what;
    int key;
    bool play;   // Space at 0.5 s
    bool pause;  // P at 1 s
    Press press;
    int acts;  // the P at 1 s included; C and M counted by the choices kept
};

std::vector<Row> table() {
    std::vector<Row> rows = {
        // Held: pauses once, not again; tapped later: resumes.
        {"P in play", scanP, true, false, Press::onTheScreen, 2},
        {"P while paused", scanP, true, true, Press::onTheScreen, 3},
        {"P held from the title", scanP, true, false, Press::heldFromTheScreenBefore, 1},
    };
    for (const int key : {scanC, scanM}) {
        rows.push_back({"on the title", key, false, false, Press::onTheScreen, 2});
        rows.push_back({"in play", key, true, false, Press::onTheScreen, 2});
        rows.push_back({"while paused", key, true, true, Press::onTheScreen, 2});
        // Once on the screen before, once for the tap.
        rows.push_back({"held from the title into play", key, true, false, Press::heldFromTheScreenBefore, 2});
        rows.push_back({"held from play into a pause", key, true, true, Press::heldFromTheScreenBefore, 2});
    }
    return rows;
}

TEST(LatchedKeys, ActOncePerPressOnEveryScreenWhereTheyApply) {
    for (const Row& row : table()) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << " " << row.what);
        freshPlatform();
        scripted().soundRate = 8000;
        foodFarOff();
        if (row.play) scriptTap(0.5, scanSpace);
        if (row.pause) scriptTap(1.0, scanP);
        if (row.press == Press::onTheScreen) {
            scriptHold(2.0, 3.5, row.key);
            scriptTap(4.5, row.key);
        } else {
            scriptHold(row.pause ? 0.8 : 0.2, 2.0, row.key);
            scriptTap(3.0, row.key);
        }
        // C and M in play are kept when the game next stands still: a pause
        // between the hold and the tap keeps the first act on its own.
        if (row.play && !row.pause && row.key != scanP) {
            scriptTap(3.8, scanP);
            scriptTap(4.2, scanP);
        }
        scriptTap(5.5, scanEscape);
        Program program;
        runSession(program);
        EXPECT_EQ(actsOf(row.key), row.acts);
    }
}

}  // namespace

}  // namespace key_latch

// C and M in play act at once but leave the disk and the sound output to the
// next moment the game stands still, so no frame waits for either.
namespace choices_in_play {

namespace {

struct Case {
    const char* what;
    std::vector<ScriptedEvent> script;  // after Space at 0.2 s has started a game
    bool soundOnAtStart;                // the kept choice the run starts with
    std::vector<std::string> kept;      // the choices written, in order
    double keptNotBefore;               // none of them earlier than this
    double openedNotBefore;             // no sound output opened in play before this (-1: none opened in play)
};

TEST(ChoicesInPlay, AreKeptAndTheOutputFollowsOnlyWhenTheGameStandsStill) {
    const std::vector<Case> cases = {
        {"C, then a pause",
         {{1.0, Happening::tap, scanC}, {2.0, Happening::tap, scanP}},
         true,
         {"palette=contrast"},
         2.0,
         -1.0},
        {"C twice: nothing to keep",
         {{1.0, Happening::tap, scanC}, {1.5, Happening::tap, scanC}, {2.0, Happening::tap, scanP}},
         true,
         {},
         0.0,
         -1.0},
        {"M off, then Escape in play", {{1.0, Happening::tap, scanM}}, true, {"sound=off"}, 3.0, -1.0},
        {"M on, then a pause opens the output",
         {{1.0, Happening::tap, scanM}, {2.0, Happening::tap, scanP}},
         false,
         {"sound=on"},
         2.0,
         2.0},
        {"C and M, then the window looks away",
         {{1.0, Happening::tap, scanC},
          {1.2, Happening::tap, scanM},
          {2.0, Happening::focusLost},
          {2.5, Happening::focusGained}},
         true,
         {"palette=contrast", "sound=off"},
         2.0,
         -1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetScriptedPlatform();
        scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
        scripted().soundRate = 8000;
        scripted().settings.soundOn = c.soundOnAtStart;
        scriptTap(0.2, scanSpace);
        for (const ScriptedEvent& e : c.script) scripted().script.push_back(e);
        scriptTap(3.0, scanEscape);
        Program program;
        program.sound.on = c.soundOnAtStart;
        EXPECT_EQ(runSession(program), 0);
        EXPECT_EQ(scripted().keptSettings, c.kept);
        for (double at : scripted().keptSettingTimes) EXPECT_GE(at, c.keptNotBefore);
        std::vector<double> openedInPlay;
        for (double at : scripted().soundOpenTimes)
            if (at > 0.3) openedInPlay.push_back(at);
        if (c.openedNotBefore < 0) {
            EXPECT_TRUE(openedInPlay.empty());
        } else {
            ASSERT_EQ(openedInPlay.size(), 1u);
            EXPECT_GE(openedInPlay[0], c.openedNotBefore);
        }
    }
}

}  // namespace

}  // namespace choices_in_play

// The player's choices kept by an earlier run hold from the first title on.
namespace kept_choices {

namespace {

// Start-up goes on to upload pictures, which needs a GL context that the
// window-less tests lack; it is stopped at the board target, after the
// choices are read and before the first upload.
struct StartUpStopped {};

void stopStartUp(GLenum) { throw StartUpStopped{}; }
void neverCalled(GLsizei, GLuint*) {}
void neverCalled(GLenum, GLuint) {}
void neverCalled(GLenum, GLenum, GLenum, GLuint, GLint) {}
GLenum neverCalled(GLenum) { return 0; }

class StopAtTheBoardTarget {
public:
    StopAtTheBoardTarget() {
        framebufferApi = FramebufferApi{};
        framebufferApi.glBindFramebufferEXT = &neverCalled;
        framebufferApi.glGenFramebuffersEXT = &neverCalled;
        framebufferApi.glFramebufferTexture2DEXT = &neverCalled;
        framebufferApi.glCheckFramebufferStatusEXT = &neverCalled;
        framebufferApi.glGenerateMipmapEXT = &stopStartUp;
    }
    ~StopAtTheBoardTarget() { framebufferApi = saved; }
    StopAtTheBoardTarget(const StopAtTheBoardTarget&) = delete;
    StopAtTheBoardTarget& operator=(const StopAtTheBoardTarget&) = delete;

private:
    FramebufferApi saved = framebufferApi;
};

TEST(KeptChoices, SoundAndPaletteHoldFromTheFirstTitle) {
    const struct {
        const char* kept;
        Settings settings;
        int soundOpens;
        bool contrast;
    } cases[] = {
        {"nothing", Settings{}, 1, false},
        {"sound off and the contrast palette", Settings{.soundOn = false, .contrastPalette = true}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kept);
        resetScriptedPlatform();
        scripted().soundRate = 8000;
        scripted().settings = c.settings;
        scriptTap(1.0, scanEscape);
        Program program;
        {
            const StopAtTheBoardTarget stop;
            EXPECT_THROW(startUp(program), StartUpStopped);
        }
        EXPECT_NO_THROW(runSession(program));
        EXPECT_EQ(scripted().soundOpens, c.soundOpens);
        EXPECT_EQ(program.contrastPalette, c.contrast);
    }
}

}  // namespace

}  // namespace kept_choices
