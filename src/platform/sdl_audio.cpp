// Sound output over SDL2's audio: the default device, mixed in its callback.
#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <string>
#include <utility>

#include "platform/error_line.h"
#include "platform/platform.h"
#include "platform/sound_mixer.h"

namespace {

constexpr int preferredRate = 48000;
// About 11 ms at 48 kHz: an effect asked for in a frame starts within the
// next buffer or two, well inside 50 ms.
constexpr Uint16 bufferFrames = 512;

struct Audio {
    SDL_AudioDeviceID device = 0;
    int rate = 0;      // of the open device, or the one the kept effects were made for
    int channels = 0;  // of the open device
    bool effectsKept = false;
    bool toldOff = false;  // the line saying sound is off is printed once a run
    SoundMixer mixer;      // touched by the audio thread, or under the device's lock
    SoundBank bank;
};

// Never destroyed: where a program ends without closing the device first (the
// GL tests do), the audio thread may still be mixing from it during exit.
Audio& audio = *new Audio();

// ALSA's library prints its own lines on standard error when it finds no
// card; the player gets our one line instead. Its messages all pass through
// one replaceable handler, set here in the library SDL itself loads.
// NOLINTNEXTLINE(cert-dcl50-cpp): the handler ALSA takes is a C variadic function
extern "C" void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa() {
    static bool done = false;
    if (done) return;
    done = true;
    // Never closed: ALSA keeps the handler for the rest of the run.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;  // no ALSA, nothing to silence
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&dropAlsaMessage);
}

void SDLCALL fillBuffer(void* userdata, Uint8* stream, int length) {
    Audio& a = *static_cast<Audio*>(userdata);
    const int frameBytes = static_cast<int>(sizeof(float)) * a.channels;
    mixSound(a.mixer, a.bank, reinterpret_cast<float*>(stream), length / frameBytes, a.channels);
}

void tellSoundOff(const char* reason) {
    if (audio.toldOff) return;
    audio.toldOff = true;
    printErrorLine(std::string("sound is off: ") + reason);
}

}  // namespace

int openSound() {
    if (audio.device != 0) {
        // A device that went away (a headset unplugged) reads as stopped.
        if (SDL_GetAudioDeviceStatus(audio.device) != SDL_AUDIO_STOPPED) return audio.rate;
        closeSound();
    }
    silenceAlsa();
    // On its own, after the window: sound failing never keeps the game from starting.
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        tellSoundOff(SDL_GetError());
        return 0;
    }
    SDL_AudioSpec wanted{};
    // Once effects are made, SDL converts any other device rate to theirs.
    wanted.freq = audio.effectsKept ? audio.rate : preferredRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = bufferFrames;
    wanted.callback = fillBuffer;
    wanted.userdata = &audio;
    SDL_AudioSpec granted{};
    const int changes = SDL_AUDIO_ALLOW_CHANNELS_CHANGE | (audio.effectsKept ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &granted, changes);
    if (device == 0) {
        tellSoundOff(SDL_GetError());
        return 0;
    }
    audio.mixer = SoundMixer{};  // the audio thread has not started yet
    audio.device = device;
    audio.rate = granted.freq;
    audio.channels = granted.channels;
    SDL_PauseAudioDevice(device, 0);
    return audio.rate;
}

void closeSound() {
    if (audio.device == 0) return;
    SDL_CloseAudioDevice(audio.device);
    audio.device = 0;
}

void keepSoundEffects(std::span<const std::vector<float>> effects) {
    SoundBank copy(effects.begin(), effects.end());
    if (audio.device != 0) SDL_LockAudioDevice(audio.device);
    std::swap(audio.bank, copy);
    audio.mixer = SoundMixer{};
    audio.effectsKept = true;
    if (audio.device != 0) SDL_UnlockAudioDevice(audio.device);
}

void playSoundEffects(std::span<const int> effects, bool stopFirst) {
    if (audio.device == 0) return;
    SoundRequests requests;
    requests.stopAll = stopFirst;
    for (int effect : effects) {
        if (requests.count == soundRequestCapacity) break;
        requests.effects[requests.count++] = effect;
    }
    SDL_LockAudioDevice(audio.device);
    addSoundRequests(audio.mixer.pending, requests);
    SDL_UnlockAudioDevice(audio.device);
}
