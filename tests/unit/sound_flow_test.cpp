// What the loop hands to the sound output, against the scripted platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "sound/sound_effects.h"
#include "support/scripted_platform.h"

namespace {

// A low rate keeps the effects quick to make; the loop never looks at it.
constexpr int testRate = 8000;

// Space on the title, a 9 eaten in the first frame, Left (a reversal) soon
// after, then Up until the head reaches the stone row; Escape on the title.
std::vector<int> effectsOfAScriptedGame(bool soundOn, int bestScore) {
    resetScriptedPlatform();
    scripted().soundRate = testRate;
    scripted().randoms = {0.5, 0.5, 0.99};  // a 9 just left of the head
    scriptTap(0.2, scanSpace);
    scriptTap(0.4, scanLeft);
    scriptHold(1.2, 4.0, scanUp);
    scriptTap(5.0, scanEscape);
    Program program;
    program.sound.on = soundOn;
    program.play.bestScore = bestScore;
    runSession(program);
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
        scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
    }
    Program program;
};

TEST_F(SoundKeys, MTurnsSoundOffAndOnOnItsPressAndOnFindsAnOutputThatCameLater) {
    // No output at start: nothing opens and no effects are made. M on the
    // title turns sound off.
    scriptTap(1.0, scanM);
    scriptTap(3.0, scanEscape);
    runSession(program);
    EXPECT_FALSE(program.sound.on);
    EXPECT_EQ(scripted().soundOpens, 0);
    EXPECT_TRUE(scripted().keptEffects.empty());
    EXPECT_EQ(scripted().keptSettings, std::vector<std::string>{"sound=off"});

    // The output arrives while sound is off: the next title opens nothing.
    // M on the title turns sound on, opens the output and makes its effects;
    // in play, M silences at once (what the game does meanwhile is not heard)
    // and turns it on again, and neither waits for the output.
    scripted().soundRate = testRate;
    const double from = scriptTime();
    scriptTap(from + 1.0, scanM);
    scriptTap(from + 2.0, scanSpace);
    scriptTap(from + 2.5, scanM);
    scriptTap(from + 3.0, scanM);
    scriptTap(from + 3.5, scanEscape);
    runSession(program);
    EXPECT_TRUE(program.sound.on);
    EXPECT_EQ(scripted().keptEffects.size(), static_cast<std::size_t>(soundEffectCount));
    EXPECT_EQ(program.sound.effectsRate, testRate);
    EXPECT_EQ(scripted().soundOpens, 1) << "by M on the title, never in play";
    EXPECT_EQ(scripted().soundCloses, 0);
    EXPECT_EQ(scripted().playedEffects, (std::vector<int>{soundGameStart, -1})) << "the start, stopped by M";
}

TEST_F(SoundKeys, PauseStopsWhatPlaysWithItsBlipAndResumeHasItsOwn) {
    scripted().soundRate = testRate;
    scriptTap(0.2, scanSpace);
    scriptTap(0.5, scanP);
    scriptTap(1.5, scanP);
    scriptTap(2.0, scanEscape);
    runSession(program);
    EXPECT_EQ(scripted().playedEffects, (std::vector<int>{soundGameStart, -1, soundPause, soundResume}));
}

}  // namespace
