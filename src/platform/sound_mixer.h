#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The mixing the audio thread does, kept apart from SDL so it can be tested.
// The main loop never touches the voices: it hands over a whole request
// record (under the device's lock, a copy only) and the next buffer mixed
// applies it.

inline constexpr int soundVoiceCount = 4;
inline constexpr int soundRequestCapacity = 16;

struct SoundRequests {
    std::array<int, soundRequestCapacity> effects{};
    int count = 0;
    bool stopAll = false;  // applied before the effects handed over with it
};

struct SoundVoice {
    int effect = -1;  // -1: free
    std::size_t position = 0;
    std::uint32_t startOrder = 0;
};

struct SoundMixer {
    std::array<SoundVoice, soundVoiceCount> voices;
    std::uint32_t started = 0;
    SoundRequests pending;
};

// Mono effects indexed by effect number.
using SoundBank = std::vector<std::vector<float>>;

// Adds more requests to those not yet mixed. A stop drops the effects asked
// for before it; past capacity the latest requests are dropped.
void addSoundRequests(SoundRequests& pending, const SoundRequests& more);

// Applies and clears the pending requests, then writes frames of interleaved
// samples with every channel the same. A fifth effect takes the voice of the
// oldest; unknown effect numbers are ignored.
void mixSound(SoundMixer& mixer, const SoundBank& bank, float* out, int frames, int channels);
