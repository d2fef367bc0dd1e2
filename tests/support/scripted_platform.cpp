#include "support/scripted_platform.h"

#include "platform/mersenne_twister.h"
#include "platform/platform.h"

#include <algorithm>

namespace {
ScriptedPlatform state;
MersenneTwister generator;

const std::set<int>& currentKeys() {
    if (state.presents == 0 || state.keysAfterPresent.empty()) return state.keysBeforeFirstPresent;
    std::size_t index = static_cast<std::size_t>(state.presents - 1);
    if (index >= state.keysAfterPresent.size()) index = state.keysAfterPresent.size() - 1;
    return state.keysAfterPresent[index];
}

// Any address will do: the tests only look at which names were asked for.
void fakeEntryPoint() {}
}  // namespace

ScriptedPlatform& scripted() { return state; }

void resetScriptedPlatform() {
    state = ScriptedPlatform{};
    seedMersenneTwister(generator, 5489.0);
}

void setUpProcess() {}
bool terminationRequested() { return state.terminationAtPresent >= 0 && state.presents >= state.terminationAtPresent; }

void requestDepthBits(int) {}
void requestSamples(int) {}
bool openDisplay(int, int, int) { return state.displayOpens; }
void present() {
    ++state.presents;
    state.now += state.presentStep;
}

bool keyDown(int scanCode) { return currentKeys().count(scanCode) != 0; }
bool anyKeyPressed() { return !currentKeys().empty(); }
bool windowInView() { return state.inView; }

PixelSize drawableSize() { return {state.drawableWidth, state.drawableHeight}; }

int loadBestScore() { return state.bestScore; }

int saveBestScore(int score, std::span<const std::uint8_t> bestGame) {
    if (score <= state.bestScore) return state.bestScore;
    state.savedBestScores.push_back(score);
    state.bestScore = score;
    if (!bestGame.empty()) {
        state.bestGameExists = true;
        state.bestGame.assign(bestGame.begin(), bestGame.end());
    }
    return score;
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
