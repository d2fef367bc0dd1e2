#include "platform/sound_mixer.h"

#include <algorithm>

namespace {

void startVoice(SoundMixer& mixer, const SoundBank& bank, int effect) {
    if (effect < 0 || effect >= static_cast<int>(bank.size()) || bank[effect].empty()) return;
    SoundVoice* chosen = &mixer.voices[0];
    for (SoundVoice& voice : mixer.voices) {
        if (voice.effect < 0) {
            chosen = &voice;
            break;
        }
        if (voice.startOrder < chosen->startOrder) chosen = &voice;
    }
    *chosen = {effect, 0, mixer.started++};
}

}  // namespace

void addSoundRequests(SoundRequests& pending, const SoundRequests& more) {
    if (more.stopAll) {
        pending.count = 0;
        pending.stopAll = true;
    }
    for (int i = 0; i < more.count && pending.count < soundRequestCapacity; ++i)
        pending.effects[pending.count++] = more.effects[i];
}

void mixSound(SoundMixer& mixer, const SoundBank& bank, float* out, int frames, int channels) {
    if (mixer.pending.stopAll) {
        for (SoundVoice& voice : mixer.voices) voice.effect = -1;
    }
    for (int i = 0; i < mixer.pending.count; ++i) startVoice(mixer, bank, mixer.pending.effects[i]);
    mixer.pending = SoundRequests{};
    const std::size_t frameCount = frames > 0 ? static_cast<std::size_t>(frames) : 0;
    const std::size_t channelCount = channels > 0 ? static_cast<std::size_t>(channels) : 0;
    std::fill(out, out + frameCount * channelCount, 0.0f);
    for (SoundVoice& voice : mixer.voices) {
        if (voice.effect < 0) continue;
        const std::vector<float>& samples = bank[voice.effect];
        const std::size_t count = std::min(frameCount, samples.size() - voice.position);
        for (std::size_t frame = 0; frame < count; ++frame) {
            const float sample = samples[voice.position + frame];
            for (std::size_t channel = 0; channel < channelCount; ++channel)
                out[frame * channelCount + channel] += sample;
        }
        voice.position += count;
        if (voice.position >= samples.size()) voice.effect = -1;
    }
}
