// Sound without a device: the effects as made, the mixing, and what the loop
// hands to the sound output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "platform/sound_mixer.h"
#include "rules/snake_rules.h"
#include "sound/sound_effects.h"
#include "support/scripted_platform.h"

// The effects as made, and the mixing the audio thread does, without a device.
namespace {

constexpr int rate = 48000;

const SoundEffects& effectsAt48k() {
    static const SoundEffects effects = [] {
        SoundEffects made;
        makeSoundEffects(made, rate, reversalFreezeSeconds());
        return made;
    }();
    return effects;
}

// Sign changes per second over samples [first, last).
double crossingsPerSecond(const std::vector<float>& s, std::size_t first, std::size_t last) {
    int crossings = 0;
    for (std::size_t i = first + 1; i < last; ++i) crossings += (s[i - 1] < 0.0f) != (s[i] < 0.0f);
    return crossings * static_cast<double>(rate) / static_cast<double>(last - first);
}

TEST(SoundEffects, EachLastsAsLongAsItShouldAndStaysFiniteAndBelowItsPeak) {
    const struct {
        int effect;
        double shortestSeconds, longestSeconds;
    } cases[] = {
        {soundGameStart, 0.1, 0.5},
        {soundEat1, 0.05, 0.2},
        {soundEat1 + 8, 0.05, 0.2},
        // As long as the freeze it sounds over, to the sample.
        {soundReversal, reversalFreezeSeconds() - 0.5 / rate, reversalFreezeSeconds() + 0.5 / rate},
        {soundDeath, 0.3, 1.0},
        {soundNewBest, 0.3, 1.0},
        {soundPause, 0.02, 0.15},
        {soundResume, 0.02, 0.15},
    };
    ASSERT_GT(reversalFreezeSeconds(), 0.4);
    ASSERT_LT(reversalFreezeSeconds(), 0.6);
    // The mixer adds its voices, so all of them at their peak at once, in step,
    // still stay below -3 dB.
    EXPECT_LT(static_cast<float>(soundVoiceCount) * soundEffectPeak, std::pow(10.0f, -3.0f / 20.0f));
    for (const auto& c : cases) {
        const std::vector<float>& s = effectsAt48k()[c.effect];
        const double seconds = static_cast<double>(s.size()) / rate;
        EXPECT_GE(seconds, c.shortestSeconds) << "effect " << c.effect;
        EXPECT_LE(seconds, c.longestSeconds) << "effect " << c.effect;
    }
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        const std::vector<float>& s = effectsAt48k()[effect];
        ASSERT_FALSE(s.empty()) << "effect " << effect;
        float peak = 0.0f;
        for (float x : s) {
            ASSERT_TRUE(std::isfinite(x)) << "effect " << effect;
            peak = std::max(peak, std::fabs(x));
        }
        EXPECT_LE(peak, soundEffectPeak * 1.0001f) << "effect " << effect;
        EXPECT_GT(peak, soundEffectPeak * 0.25f) << "effect " << effect << " is all but silent";
        // Starts and ends near silence, so it neither clicks in nor out.
        EXPECT_LT(std::fabs(s.front()), 0.01f) << "effect " << effect;
        EXPECT_LT(std::fabs(s.back()), 0.01f) << "effect " << effect;
    }
}

TEST(SoundEffects, TheEatChirpRisesAndSoundsHigherForEveryHigherDigit) {
    double previous = 0.0;
    for (int digit = 1; digit <= 9; ++digit) {
        const std::vector<float>& s = effectsAt48k()[soundEat1 + digit - 1];
        const double pitch = crossingsPerSecond(s, 0, s.size());
        EXPECT_GT(pitch, previous * 1.04) << "digit " << digit;
        previous = pitch;
    }
}

// One buffer mixed after handing over effects (and a stop, when asked).
struct MixStep {
    std::vector<int> effects;
    bool stopFirst = false;
    int frames = 0;
    std::vector<float> expected;  // channel 0; every channel must match it
};

std::vector<float> mixStep(SoundMixer& mixer, const SoundBank& bank, const MixStep& step, int channels) {
    SoundRequests requests;
    requests.stopAll = step.stopFirst;
    for (int effect : step.effects) requests.effects[requests.count++] = effect;
    addSoundRequests(mixer.pending, requests);
    std::vector<float> out(static_cast<std::size_t>(step.frames) * static_cast<std::size_t>(channels), -99.0f);
    mixSound(mixer, bank, out.data(), step.frames, channels);
    std::vector<float> first;
    const auto width = static_cast<std::size_t>(channels);
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(step.frames); ++frame) {
        for (std::size_t channel = 1; channel < width; ++channel)
            EXPECT_EQ(out[frame * width + channel], out[frame * width]) << "frame " << frame;
        first.push_back(out[frame * width]);
    }
    return first;
}

TEST(SoundMixer, VoicesPlayOnAcrossBuffersAFifthTakesTheOldestAndAStopClearsThem) {
    // Effects with one power of two each, so a sum shows which voices play.
    const SoundBank bank = {{1, 1, 1, 1, 1},    {2, 2, 2, 2, 2, 2},       {4, 4, 4, 4, 4, 4},
                            {8, 8, 8, 8, 8, 8}, {16, 16, 16, 16, 16, 16}, {}};
    const struct {
        std::string name;
        std::vector<MixStep> steps;
    } cases[] = {
        {"an effect runs on across buffers and then ends",
         {{{0}, false, 3, {1, 1, 1}}, {{}, false, 3, {1, 1, 0}}, {{}, false, 2, {0, 0}}}},
        {"four at once all sound", {{{0, 1, 2, 3}, false, 2, {15, 15}}}},
        {"a fifth takes the oldest voice",
         {{{0}, false, 1, {1}}, {{1, 2, 3}, false, 1, {15}}, {{4}, false, 2, {30, 30}}}},
        {"a stop silences what plays and what was asked before it, not after",
         {{{0, 1}, false, 1, {3}}, {{2}, false, 0, {}}, {{3}, true, 2, {8, 8}}}},
        {"unknown and empty effects are ignored", {{{-1, 5, 99, 2}, false, 1, {4}}}},
    };
    for (int channels : {1, 2}) {
        for (const auto& c : cases) {
            SoundMixer mixer;
            for (std::size_t i = 0; i < c.steps.size(); ++i)
                EXPECT_EQ(mixStep(mixer, bank, c.steps[i], channels), c.steps[i].expected)
                    << c.name << ", step " << i << ", " << channels << " channels";
        }
    }
}

}  // namespace

// What the loop hands to the sound output, against the scripted platform.
namespace sound_flow {

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

}  // namespace sound_flow
