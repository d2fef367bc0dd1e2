// C switches the palette on the title, in play and while paused; each run is
// compared with the same run without C, which must end in the same game.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "support/scripted_platform.h"

namespace {

struct Outcome {
    bool contrast = false;
    std::vector<std::pair<float, float>> snake;
    float reversalPulse = 0.0f;
    double playTime = 0.0;
    std::size_t randomsLeft = 0;
    std::vector<std::string> kept;  // the choices handed to the settings file
};

// Still screens wait for events instead of presenting, so their keys come as
// taps during the waits (numbered from 1).
Outcome run(bool inPlay, std::vector<std::set<int>> keys, const std::map<int, std::set<int>>& tapsInWait, bool withC) {
    resetScriptedPlatform();
    scripted().clockStep = 0.004;
    scripted().randoms = {0.3, 0.6, 0.9, 0.2, 0.7, 0.4};
    if (!withC)
        for (std::set<int>& held : keys) held.erase(scanC);
    scripted().keysAfterPresent = keys;
    for (const auto& [wait, taps] : tapsInWait) {
        std::set<int>& given = scripted().eventsInWait[wait].taps;
        given = taps;
        if (!withC) given.erase(scanC);
    }
    Program program;
    if (inPlay) {
        startGame(program);
        program.play.reversalPulse = 10.0f;  // running: any time let through moves it
        EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
    } else {
        returnToTitle(program);
        EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);
    }
    Outcome outcome{program.contrastPalette,    {},
                    program.play.reversalPulse, program.play.playTime,
                    scripted().randoms.size(),  scripted().keptSettings};
    for (const Segment& s : program.play.snake) outcome.snake.emplace_back(s.x, s.y);
    return outcome;
}

TEST(PaletteSwitch, CSwitchesOnItsPressOnTheTitleInPlayAndPausedAndMovesAndDrawsNothing) {
    const struct {
        std::string name;
        bool inPlay;
        std::vector<std::set<int>> keys;
        std::map<int, std::set<int>> tapsInWait;
        bool contrast;
    } cases[] = {
        {"title, held over several waits", false, {{scanC}}, {{3, {scanEscape}}}, true},
        {"title, tapped twice", false, {}, {{1, {scanC}}, {3, {scanC}}, {4, {scanEscape}}}, false},
        {"in play", true, {{scanC}, {}, {scanEscape}}, {}, true},
        {"paused, P still held", true, {{scanP}, {scanP, scanC}, {scanP}}, {{1, {scanEscape}}}, true},
        {"paused, tapped three times",
         true,
         {{scanP}, {}},
         {{1, {scanC}}, {3, {scanC}}, {5, {scanC}}, {6, {scanEscape}}},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome with = run(c.inPlay, c.keys, c.tapsInWait, true);
        const Outcome without = run(c.inPlay, c.keys, c.tapsInWait, false);
        EXPECT_EQ(with.contrast, c.contrast);
        EXPECT_FALSE(without.contrast);
        ASSERT_FALSE(with.kept.empty()) << "every switch is remembered";
        EXPECT_EQ(with.kept.back(), c.contrast ? "palette=contrast" : "palette=design");
        EXPECT_TRUE(without.kept.empty());
        EXPECT_EQ(with.snake, without.snake);
        EXPECT_EQ(with.reversalPulse, without.reversalPulse);
        EXPECT_EQ(with.playTime, without.playTime);
        EXPECT_EQ(with.randomsLeft, without.randomsLeft) << "the random stream is the food's alone";
    }
}

}  // namespace
