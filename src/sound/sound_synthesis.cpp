#include "sound/sound_synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;
// Long enough at both ends of a burst that it neither clicks in nor out.
constexpr double burstEdgeSeconds = 0.003;

struct SampleRun {
    std::size_t first = 0;
    std::size_t count = 0;
};

// The samples a piece starting at startSeconds for seconds covers, cut at the end.
SampleRun runOf(const std::vector<float>& samples, int sampleRate, double startSeconds, double seconds) {
    const auto first = static_cast<std::size_t>(std::lround(std::max(0.0, startSeconds) * sampleRate));
    const auto wanted = static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * sampleRate));
    if (first >= samples.size()) return {};
    return {first, std::min(wanted, samples.size() - first)};
}

// 0 to 1 over the attack, 1, then 1 to 0 over the release at the end.
double edgeGain(double t, double length, double attack, double release) {
    double gain = 1.0;
    if (attack > 0.0 && t < attack) gain = t / attack;
    if (release > 0.0 && length - t < release) gain = std::min(gain, std::max(0.0, (length - t) / release));
    return gain;
}

std::uint32_t nextNoise(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace

void addTone(std::vector<float>& samples, int sampleRate, double startSeconds, double seconds, const Tone& tone) {
    const SampleRun run = runOf(samples, sampleRate, startSeconds, seconds);
    if (run.count == 0 || sampleRate <= 0) return;
    // The same factor every sample: an exponential glide without an exp per sample.
    const double glideStep = std::exp(std::log(tone.endHz / tone.startHz) / (seconds * sampleRate));
    double hz = tone.startHz;
    double phase = 0.0;
    for (std::size_t i = 0; i < run.count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double wave = std::sin(phase);
        // Only three odd harmonics: square enough to buzz, too few to alias.
        if (tone.square) wave += std::sin(3.0 * phase) / 3.0 + std::sin(5.0 * phase) / 5.0;
        const double gain = tone.level * edgeGain(t, seconds, tone.attackSeconds, tone.releaseSeconds);
        samples[run.first + i] += static_cast<float>(gain * wave);
        phase += twoPi * hz / sampleRate;
        if (phase >= twoPi) phase -= twoPi;
        hz *= glideStep;
    }
}

void addNoiseBurst(std::vector<float>& samples, int sampleRate, double startSeconds, double seconds,
                   const NoiseBurst& burst) {
    const SampleRun run = runOf(samples, sampleRate, startSeconds, seconds);
    if (run.count == 0 || sampleRate <= 0) return;
    std::uint32_t state = burst.seed != 0 ? burst.seed : 1;
    const double glideStep = std::exp(std::log(burst.endHz / burst.startHz) / (seconds * sampleRate));
    const double decayStep = std::exp(-burst.decayPerSecond / sampleRate);
    double cutoff = burst.startHz;
    double decay = burst.level;
    double filtered = 0.0;
    for (std::size_t i = 0; i < run.count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        // One-pole low-pass: the falling cutoff makes the hiss sink into a rumble.
        const double a = 1.0 - std::exp(-twoPi * cutoff / sampleRate);
        cutoff *= glideStep;
        const double white = static_cast<double>(nextNoise(state)) / 2147483648.0 - 1.0;
        filtered += a * (white - filtered);
        const double gain = decay * edgeGain(t, seconds, burstEdgeSeconds, burstEdgeSeconds);
        decay *= decayStep;
        samples[run.first + i] += static_cast<float>(gain * filtered);
    }
}

void normalisePeak(std::vector<float>& samples, float peak) {
    float loudest = 0.0f;
    for (float s : samples) loudest = std::max(loudest, std::fabs(s));
    if (!(loudest > 0.0f)) return;
    const float scale = peak / loudest;
    for (float& s : samples) s *= scale;
}
