#pragma once
#include <cstdint>
#include <vector>

// Building blocks of the effects: oscillators, noise and envelopes written
// into (or added onto) a run of mono samples.

struct Tone {
    double startHz = 440.0;
    double endHz = 440.0;  // the pitch glides exponentially from start to end
    double attackSeconds = 0.005;
    double releaseSeconds = 0.05;
    double level = 1.0;
    bool square = false;  // a soft square (odd harmonics) instead of a sine
};

// Adds a tone of the given length starting at the given sample, with a
// linear attack and release; samples past the end are left out.
void addTone(std::vector<float>& samples, int sampleRate, double startSeconds, double seconds, const Tone& tone);

// Adds noise low-passed at a cutoff that glides from startHz to endHz, under
// an exponential decay from level that loses decayPerSecond nepers a second.
struct NoiseBurst {
    double startHz = 4000.0;
    double endHz = 200.0;
    double level = 1.0;
    double decayPerSecond = 4.0;
    std::uint32_t seed = 1;
};
void addNoiseBurst(std::vector<float>& samples, int sampleRate, double startSeconds, double seconds,
                   const NoiseBurst& burst);

// Scales the samples so the loudest has the given magnitude (silence stays silent).
void normalisePeak(std::vector<float>& samples, float peak);
