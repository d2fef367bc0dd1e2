// Developer tool: writes every sound effect, made as the game makes it at
// 48 kHz, as a 16-bit mono WAV file into a folder, for listening and for
// spectrograms (sox FILE.wav -n spectrogram -o FILE.png). Usage:
// write_sound_effects FOLDER
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rules/snake_rules.h"
#include "sound/sound_effects.h"

namespace {

constexpr int rate = 48000;

const char* const names[soundEffectCount] = {
    "game-start", "eat-1", "eat-2",    "eat-3", "eat-4",    "eat-5", "eat-6",  "eat-7",
    "eat-8",      "eat-9", "reversal", "death", "new-best", "pause", "resume",
};

void putLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

bool writeWav(const std::string& path, const std::vector<float>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    for (char c : std::string("RIFF")) out.push_back(static_cast<unsigned char>(c));
    putLittleEndian(out, 36 + dataBytes, 4);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<unsigned char>(c));
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2);  // PCM
    putLittleEndian(out, 1, 2);  // mono
    putLittleEndian(out, rate, 4);
    putLittleEndian(out, rate * 2, 4);
    putLittleEndian(out, 2, 2);
    putLittleEndian(out, 16, 2);
    for (char c : std::string("data")) out.push_back(static_cast<unsigned char>(c));
    putLittleEndian(out, dataBytes, 4);
    for (float s : samples)
        putLittleEndian(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * 32767.0f))), 2);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_sound_effects FOLDER\n", stderr);  // NOLINT(cert-err33-c): exits 2 either way
        return 2;
    }
    SoundEffects effects;
    const auto begin = std::chrono::steady_clock::now();
    makeSoundEffects(effects, rate, reversalFreezeSeconds());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    std::printf("made %d effects at %d Hz in %.1f ms\n", soundEffectCount, rate, took.count());
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        const std::string path = std::string(argv[1]) + "/" + names[effect] + ".wav";
        if (!writeWav(path, effects[effect])) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());  // NOLINT(cert-err33-c): exits 1 either way
            return 1;
        }
        std::printf("%s: %.3f s\n", path.c_str(), static_cast<double>(effects[effect].size()) / rate);
    }
    return 0;
}
