#pragma once
#include <array>
#include <vector>

// The game's sound effects, made in code at start-up like the texture images:
// mono samples in [-1, 1] at the output's rate.
enum SoundEffect : int {
    soundGameStart,
    soundEat1,  // soundEat1 + digit - 1 for the digits 1 to 9
    soundReversal = soundEat1 + 9,
    soundDeath,
    soundNewBest,  // the death burst ending in a rising figure instead
    soundPause,
    soundResume,
    soundEffectCount,
};

using SoundEffects = std::array<std::vector<float>, soundEffectCount>;

// Loudest sample of any effect: -15.1 dBFS, so that four playing at once
// stay below -3 dBFS and the mix never clips.
inline constexpr float soundEffectPeak = 0.175f;

// Makes every effect; the reversal sweep lasts reversalSeconds, as long as
// the snake stands still while it turns round.
void makeSoundEffects(SoundEffects& effects, int sampleRate, double reversalSeconds);
