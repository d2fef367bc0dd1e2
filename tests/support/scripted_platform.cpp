#include "support/scripted_platform.h"

#include "platform/key_state.h"
#include "platform/mersenne_twister.h"
#include "platform/platform.h"

#include <algorithm>

namespace {
ScriptedPlatform state;
MersenneTwister generator;
KeyState keys;
bool lookedAway = false;
bool wantsPicture = false;
bool keyPressedInBatch = false;  // in the last present's or wait's events

// A loop that would wait for ever ends the test instead of hanging it.
constexpr int mostWaits = 1000000;

const std::set<int>& keysHeldAt(int presentCount) {
    if (presentCount == 0 || state.keysAfterPresent.empty()) return state.keysBeforeFirstPresent;
    std::size_t index = static_cast<std::size_t>(presentCount - 1);
    if (index >= state.keysAfterPresent.size()) index = state.keysAfterPresent.size() - 1;
    return state.keysAfterPresent[index];
}

// The held keys go in as a pad's would: added after an empty keyboard.
void refreshHeldKeys() {
    refreshKeyState(keys, nullptr, 0);
    for (int key : keysHeldAt(state.presents)) addHeldKey(keys, key);
}

void handleWindowEvents(const std::vector<WindowEvent>& events) {
    for (WindowEvent event : events) {
        if (event == WindowEvent::focusLost || event == WindowEvent::focusGained)
            noteFocusChange(keys, event == WindowEvent::focusGained);
        if (event != WindowEvent::focusGained && event != WindowEvent::exposed) lookedAway = true;
        if (event != WindowEvent::minimised && event != WindowEvent::hidden) wantsPicture = true;
    }
}

void tap(const std::set<int>& taps) {
    for (int key : taps) notePress(keys, key);
    if (!taps.empty()) keyPressedInBatch = true;
}

// Any address will do: the tests only look at which names were asked for.
void fakeEntryPoint() {}
}  // namespace

ScriptedPlatform& scripted() { return state; }

void resetScriptedPlatform() {
    state = ScriptedPlatform{};
    keys = KeyState{};
    keys.focused = true;
    lookedAway = false;
    keyPressedInBatch = false;
    wantsPicture = false;
    seedMersenneTwister(generator, 5489.0);
}

void setUpProcess() {}
bool terminationRequested() {
    return (state.terminationAtPresent >= 0 && state.presents >= state.terminationAtPresent) ||
           (state.terminationAtTime >= 0.0 && state.now >= state.terminationAtTime);
}

void requestDepthBits(int) {}
void requestSamples(int) {}
bool openDisplay(int, int, int) { return state.displayOpens; }
void present() {
    keyPressedInBatch = false;
    ++state.presents;
    state.now += state.presentStep;
    if (auto events = state.windowEventsAtPresent.find(state.presents); events != state.windowEventsAtPresent.end())
        handleWindowEvents(events->second);
    if (auto taps = state.tapsAtPresent.find(state.presents); taps != state.tapsAtPresent.end()) tap(taps->second);
    const std::set<int>& before = keysHeldAt(state.presents - 1);
    for (int key : keysHeldAt(state.presents))
        if (before.count(key) == 0) {
            notePress(keys, key);
            keyPressedInBatch = true;
        }
    refreshHeldKeys();
}

bool waitForEvents(int timeoutMilliseconds) {
    if (++state.waits > mostWaits) throw ProgramEnded{-1};
    keyPressedInBatch = false;
    bool pressed = false;
    if (auto event = state.eventsInWait.find(state.waits); event != state.eventsInWait.end()) {
        handleWindowEvents(event->second.window);
        tap(event->second.taps);
        pressed = !event->second.taps.empty();
    } else {
        state.now += timeoutMilliseconds * 0.001;
        state.waitedMilliseconds += timeoutMilliseconds;
    }
    refreshHeldKeys();
    const bool wanted = wantsPicture;
    wantsPicture = false;
    return wanted || pressed;
}

bool presentWaitsForRefresh() { return state.pacedByRefresh; }

bool keyDown(int scanCode) {
    // Keys held from before the first present were never pressed in the window.
    if (state.presents == 0) refreshHeldKeys();
    return readKey(keys, scanCode);
}

void dropPendingPresses() { dropPendingPresses(keys); }

bool windowLookedAway() {
    const bool result = lookedAway;
    lookedAway = false;
    return result;
}

void allowScreensaver(bool allowed) { state.screensaverAllowed = allowed; }

bool anyKeyPressed() { return keyPressedInBatch; }
bool windowInView() { return state.inView; }

PixelSize drawableSize() { return {state.drawableWidth, state.drawableHeight}; }

int loadBestScore() { return state.bestScore; }

int saveBestScore(int score, std::span<const std::uint8_t> bestGame) {
    state.savedBestScores.push_back(score);
    state.lastSavedBestGame.assign(bestGame.begin(), bestGame.end());
    if (score <= state.bestScore) return state.bestScore;
    state.bestScore = score;
    if (!bestGame.empty()) {
        state.keptBestGame = state.lastSavedBestGame;
        // What a later loadBestGame reads.
        state.bestGameExists = true;
        state.bestGame = state.keptBestGame;
    }
    return score;
}

Settings loadSettings() { return state.settings; }

void keepSoundSetting(bool on) {
    state.settings.soundOn = on;
    state.keptSettings.emplace_back(on ? "sound=on" : "sound=off");
}

void keepPaletteSetting(bool contrast) {
    state.settings.contrastPalette = contrast;
    state.keptSettings.emplace_back(contrast ? "palette=contrast" : "palette=design");
}

int openSound() {
    if (state.soundRate > 0 && !state.soundOpen) {
        state.soundOpen = true;
        ++state.soundOpens;
    }
    return state.soundOpen ? state.soundRate : 0;
}

void closeSound() {
    if (state.soundOpen) ++state.soundCloses;
    state.soundOpen = false;
}

void keepSoundEffects(std::span<const std::vector<float>> effects) {
    state.keptEffects.assign(effects.begin(), effects.end());
}

void playSoundEffects(std::span<const int> effects, bool stopFirst) {
    if (!state.soundOpen) return;
    if (stopFirst) state.playedEffects.push_back(-1);
    state.playedEffects.insert(state.playedEffects.end(), effects.begin(), effects.end());
}

bool loadBestGame(std::vector<std::uint8_t>& bytes) {
    bytes = state.bestGame;
    return state.bestGameExists;
}

void reportBadBestGame(const std::string& what) { state.errorLines.push_back("best-game: " + what); }

double readClock() {
    ++state.clockReads;
    double reading = state.now;
    state.now += state.clockStep;
    return reading;
}

void sleepMilliseconds(int milliseconds) {
    ++state.sleeps;
    state.sleptMilliseconds += milliseconds;
}

int openConsole() {
    int channel = 1;
    while (std::find(state.openChannels.begin(), state.openChannels.end(), channel) != state.openChannels.end())
        ++channel;
    state.openChannels.push_back(channel);
    return channel;
}

void writeConsoleLine(int channel, std::string_view text) {
    if (std::find(state.openChannels.begin(), state.openChannels.end(), channel) == state.openChannels.end()) return;
    state.consoleLines.push_back(std::string(text) + "\r\n");
}

void closeConsole(int channel) { std::erase(state.openChannels, channel); }

std::string glExtensionString() { return state.extensions; }

void* glEntryPoint(const char* name) {
    state.lookedUp.emplace_back(name);
    return reinterpret_cast<void*>(&fakeEntryPoint);
}

void seedRandom(double seed) { seedMersenneTwister(generator, seed); }

double nextRandom() {
    if (!state.randoms.empty()) {
        double value = state.randoms.front();
        state.randoms.pop_front();
        return value;
    }
    return nextUnitDouble(generator);
}

void endProgram(int status) {
    state.exitStatus = status;
    throw ProgramEnded{status};
}
