#include "game/sound_flow.h"

#include <array>
#include <span>
#include <tuple>

#include "game/program.h"
#include "platform/platform.h"
#include "rules/snake_rules.h"
#include "sound/sound_effects.h"

namespace {

int effectFor(const GameEvent& event) {
    switch (event.kind) {
    case GameEventKind::gameStart: return soundGameStart;
    case GameEventKind::eat: return event.value >= 1 && event.value <= 9 ? soundEat1 + event.value - 1 : -1;
    case GameEventKind::reversal: return soundReversal;
    case GameEventKind::death: return soundDeath;
    case GameEventKind::newBest: return soundNewBest;
    case GameEventKind::pause: return soundPause;
    case GameEventKind::resume: return soundResume;
    }
    return -1;
}

}  // namespace

void settleSound(Program& program) {
    SoundChoice& sound = program.sound;
    if (!sound.on) {
        closeSound();
        return;
    }
    const int rate = openSound();
    sound.outputFound = rate > 0;
    if (rate <= 0 || rate == sound.effectsRate) return;
    SoundEffects effects;
    makeSoundEffects(effects, rate, reversalFreezeSeconds());
    keepSoundEffects(effects);
    sound.effectsRate = rate;
}

void switchSound(Program& program, bool inPlay) {
    SoundChoice& sound = program.sound;
    sound.on = !sound.on;
    if (!inPlay) {
        keepSoundSetting(sound.on);
        settleSound(program);
        return;
    }
    sound.unsaved = !sound.unsaved;
    // Silent at once; the output itself closes or opens when the game next stands still.
    if (!sound.on) playSoundEffects({}, true);
}

void handOverSounds(Program& program) {
    GameEvents& events = program.play.events;
    // Sound turned on in play waits for the output until the game stands still.
    if (program.sound.on && program.sound.outputFound && events.count > 0) {
        std::array<int, std::tuple_size_v<decltype(events.list)>> effects{};
        int count = 0;
        bool stopFirst = false;
        for (int i = 0; i < events.count; ++i) {
            stopFirst = stopFirst || events.list[i].kind == GameEventKind::pause;
            if (const int effect = effectFor(events.list[i]); effect >= 0) effects[count++] = effect;
        }
        playSoundEffects(std::span<const int>(effects.data(), static_cast<std::size_t>(count)), stopFirst);
    }
    events.count = 0;
}
