// The effects as made, and the mixing the audio thread does, without a device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/sound_mixer.h"
#include "rules/snake_rules.h"
#include "sound/sound_effects.h"

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
