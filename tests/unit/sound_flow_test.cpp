// What the loops hand to the sound output, against the scripted platform.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "sound/sound_effects.h"
#include "support/scripted_platform.h"

namespace {

// A low rate keeps the effects quick to make; the loops never look at it.
constexpr int testRate = 8000;

// Space on the title, a 9 eaten in the first frame, Left (a reversal) a few
// frames on, then Up until the head reaches the stone row.
std::vector<int> effectsOfAScriptedGame(bool soundOn, int bestScore) {
    resetScriptedPlatform();
    consoleChannel = openConsole();
    scripted().soundRate = testRate;
    scripted().clockStep = 0.005;           // 0.01 s a frame
    scripted().randoms = {0.5, 0.5, 0.99};  // a 9 just left of the head
    auto& keys = scripted().keysAfterPresent;
    keys.assign(12, {});
    keys[0] = {scanSpace};
    keys[10] = keys[11] = {scanLeft};
    keys.push_back({scanUp});
    Program program;
    program.sound.on = soundOn;
    program.play.bestScore = bestScore;
    returnToTitle(program);
    EXPECT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    startGame(program);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
    EXPECT_EQ(upperIndex(program.play.snake), 10) << "the 9 was eaten";
    EXPECT_EQ(scripted().soundOpens, soundOn ? 1 : 0);
    EXPECT_EQ(scripted().keptEffects.size(), soundOn ? static_cast<std::size_t>(soundEffectCount) : 0u);
    return scripted().playedEffects;
}

TEST(SoundFlow, AGameSoundsItsStartMealReversalAndDeathInOrderAndNothingWhenMuted) {
    const struct {
        std::string name;
        bool soundOn;
        int bestScore;
        std::vector<int> expected;
    } cases[] = {
        {"below the best", true, 100, {soundGameStart, soundEat1 + 8, soundReversal, soundDeath}},
        {"above the best", true, 5, {soundGameStart, soundEat1 + 8, soundReversal, soundNewBest}},
        {"first game ever", true, -1, {soundGameStart, soundEat1 + 8, soundReversal, soundNewBest}},
        {"equal to the best", true, 10, {soundGameStart, soundEat1 + 8, soundReversal, soundDeath}},
        {"muted", false, 100, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(effectsOfAScriptedGame(c.soundOn, c.bestScore), c.expected) << c.name;
}

class SoundKeys : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        consoleChannel = openConsole();
        scripted().clockStep = 0.005;
        scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
    }
    Program program;
};

TEST_F(SoundKeys, MTurnsSoundOffAndOnOnItsPressAndOnFindsAnOutputThatCameLater) {
    // No output at start: nothing opens and no effects are made.
    returnToTitle(program);
    EXPECT_EQ(scripted().soundOpens, 0);
    EXPECT_TRUE(scripted().keptEffects.empty());

    // M held through several waits of the still title turns sound off once;
    // the output arrived meanwhile.
    scripted().soundRate = testRate;
    scripted().keysAfterPresent = {{scanM}};
    scripted().eventsInWait[3].taps = {scanEscape};
    EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);
    EXPECT_FALSE(program.sound.on);
    EXPECT_EQ(scripted().soundOpens, 0) << "turning sound off opens nothing";
    EXPECT_EQ(scripted().keptSettings, std::vector<std::string>{"sound=off"});

    // Tapped again: on, and the output is opened and given its effects.
    scripted().keysAfterPresent = {{}};
    scripted().presents = 0;
    scripted().waits = 0;
    scripted().eventsInWait = {{1, {{}, {scanM}}}, {2, {{}, {scanEscape}}}};
    EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);
    EXPECT_TRUE(program.sound.on);
    EXPECT_EQ(scripted().soundOpens, 1);
    EXPECT_EQ(scripted().keptEffects.size(), static_cast<std::size_t>(soundEffectCount));
    EXPECT_EQ(program.sound.effectsRate, testRate);

    // Off in play closes the output; what the game does meanwhile is not heard.
    scripted().keysAfterPresent = {{}, {scanM}, {}, {scanM}, {scanEscape}};
    scripted().presents = 0;
    startGame(program);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
    EXPECT_EQ(scripted().soundCloses, 1);
    EXPECT_EQ(scripted().soundOpens, 2) << "on again in play opens it again";
    EXPECT_EQ(scripted().playedEffects, std::vector<int>{soundGameStart}) << "only the start, before the first M";
}

TEST_F(SoundKeys, PauseStopsWhatPlaysWithItsBlipAndResumeHasItsOwn) {
    scripted().soundRate = testRate;
    returnToTitle(program);
    // Paused at present 2; the still picture waits, and a tap of P resumes.
    scripted().keysAfterPresent = {{}, {scanP}, {}, {}, {}, {scanEscape}};
    scripted().eventsInWait[1].taps = {scanP};
    startGame(program);
    EXPECT_EQ(runPlayLoop(program), PlayOutcome::quit);
    EXPECT_EQ(scripted().playedEffects, (std::vector<int>{soundGameStart, -1, soundPause, soundResume}));
}

}  // namespace
