#include "sound/sound_effects.h"

#include <cmath>

#include "sound/sound_synthesis.h"

namespace {

constexpr double eatSeconds = 0.12;
constexpr double deathSeconds = 0.8;
constexpr double recordBurstSeconds = 0.28;
constexpr double recordNoteSeconds = 0.11;
constexpr double blipSeconds = 0.09;
// Pause and resume are felt more than heard: half the other effects' peak.
constexpr float blipPeak = soundEffectPeak * 0.5f;

std::vector<float> silence(int sampleRate, double seconds) {
    return std::vector<float>(static_cast<std::size_t>(std::lround(seconds * sampleRate)), 0.0f);
}

// Two square notes an octave apart: off you go.
std::vector<float> gameStart(int rate) {
    std::vector<float> s = silence(rate, 0.34);
    addTone(s, rate, 0.0, 0.12, {.startHz = 392.0, .endHz = 392.0, .releaseSeconds = 0.03, .square = true});
    addTone(s, rate, 0.12, 0.22, {.startHz = 784.0, .endHz = 784.0, .releaseSeconds = 0.15, .square = true});
    return s;
}

// A chirp rising by a fifth from a start a quarter-tone and a half higher
// for each digit: 1 starts at 440 Hz, 9 an octave above.
std::vector<float> eat(int rate, int digit) {
    std::vector<float> s = silence(rate, eatSeconds);
    const double startHz = 440.0 * std::exp2((digit - 1) / 8.0);
    addTone(s, rate, 0.0, eatSeconds, {.startHz = startHz, .endHz = startHz * 1.5, .releaseSeconds = 0.06});
    addTone(s, rate, 0.0, eatSeconds,
            {.startHz = 2.0 * startHz, .endHz = 3.0 * startHz, .releaseSeconds = 0.04, .level = 0.3});
    return s;
}

// Falls and climbs back while the snake turns round, ending with the freeze.
std::vector<float> reversal(int rate, double seconds) {
    std::vector<float> s = silence(rate, seconds);
    const double half = seconds / 2.0;
    addTone(s, rate, 0.0, half, {.startHz = 1200.0, .endHz = 300.0, .attackSeconds = 0.01, .releaseSeconds = 0.01});
    addTone(s, rate, half, seconds - half,
            {.startHz = 300.0, .endHz = 1200.0, .attackSeconds = 0.01, .releaseSeconds = 0.08});
    return s;
}

void addDeathBurst(std::vector<float>& s, int rate, double seconds, double decayPerSecond) {
    addNoiseBurst(s, rate, 0.0, seconds,
                  {.startHz = 5000.0, .endHz = 150.0, .level = 1.0, .decayPerSecond = decayPerSecond});
    addTone(s, rate, 0.0, seconds,
            {.startHz = 330.0, .endHz = 55.0, .releaseSeconds = seconds / 3.0, .level = 0.35, .square = true});
}

std::vector<float> death(int rate) {
    std::vector<float> s = silence(rate, deathSeconds);
    addDeathBurst(s, rate, deathSeconds, 3.0);
    return s;
}

// A shorter burst, then C, E, G and the C above: a record.
std::vector<float> newBest(int rate) {
    constexpr double notes[] = {523.25, 659.26, 783.99, 1046.5};
    const double lastNoteSeconds = 0.25;
    std::vector<float> s = silence(rate, recordBurstSeconds + 3 * recordNoteSeconds + lastNoteSeconds);
    addDeathBurst(s, rate, recordBurstSeconds, 8.0);
    for (int i = 0; i < 4; ++i) {
        const double length = i < 3 ? recordNoteSeconds : lastNoteSeconds;
        addTone(s, rate, recordBurstSeconds + i * recordNoteSeconds, length,
                {.startHz = notes[i],
                 .endHz = notes[i],
                 .releaseSeconds = i < 3 ? 0.02 : 0.15,
                 .level = 0.5,
                 .square = true});
    }
    return s;
}

std::vector<float> blip(int rate, double fromHz, double toHz) {
    std::vector<float> s = silence(rate, blipSeconds);
    addTone(s, rate, 0.0, blipSeconds, {.startHz = fromHz, .endHz = toHz, .releaseSeconds = 0.05});
    return s;
}

}  // namespace

void makeSoundEffects(SoundEffects& effects, int sampleRate, double reversalSeconds) {
    effects[soundGameStart] = gameStart(sampleRate);
    for (int digit = 1; digit <= 9; ++digit) effects[soundEat1 + digit - 1] = eat(sampleRate, digit);
    effects[soundReversal] = reversal(sampleRate, reversalSeconds);
    effects[soundDeath] = death(sampleRate);
    effects[soundNewBest] = newBest(sampleRate);
    // Down for pause, up for resume.
    effects[soundPause] = blip(sampleRate, 660.0, 440.0);
    effects[soundResume] = blip(sampleRate, 440.0, 660.0);
    for (int effect = 0; effect < soundEffectCount; ++effect)
        normalisePeak(effects[effect], effect == soundPause || effect == soundResume ? blipPeak : soundEffectPeak);
}
