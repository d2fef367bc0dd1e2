#include "support/scripted_platform.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "platform/best_game_file.h"
#include "platform/key_state.h"
#include "platform/mersenne_twister.h"
#include "platform/platform.h"

namespace {
ScriptedPlatform state;
MersenneTwister generator;
KeyState keys;
std::set<int> held;
std::size_t nextEvent = 0;  // the first event of the script not handled yet
bool shown = true;
bool lookedAway = false;
bool wantsPicture = false;
bool keyPressedInBatch = false;  // in the last present's or wait's events
bool terminationSignal = false;
// Reads of a clock that never moves mean a loop that neither draws, sleeps
// nor waits: the test ends instead of hanging.
int readsWithoutTime = 0;
double lastReading = 0.0;

constexpr int mostReadsWithoutTime = 1000000;

void pressKey(int key) {
    notePress(keys, key);
    keyPressedInBatch = true;
}

void handle(const ScriptedEvent& event) {
    switch (event.what) {
    case Happening::keyDown:
        held.insert(event.key);
        pressKey(event.key);
        break;
    case Happening::keyUp: held.erase(event.key); break;
    case Happening::tap: pressKey(event.key); break;
    case Happening::focusLost:
        noteFocusChange(keys, false);
        lookedAway = true;
        wantsPicture = true;
        break;
    case Happening::focusGained:
        noteFocusChange(keys, true);
        wantsPicture = true;
        break;
    case Happening::minimised:
        noteFocusChange(keys, false);
        shown = false;
        lookedAway = true;
        break;
    case Happening::restored:
        noteFocusChange(keys, true);
        shown = true;
        wantsPicture = true;
        break;
    case Happening::exposed: wantsPicture = true; break;
    case Happening::termination: terminationSignal = true; break;
    }
}

double nextEventTime() { return nextEvent < state.script.size() ? state.start + state.script[nextEvent].at : 1e300; }

// Handles every event due by now, then refreshes the held keys as a present would.
void handleDueEvents() {
    keyPressedInBatch = false;
    std::stable_sort(state.script.begin() + static_cast<std::ptrdiff_t>(nextEvent), state.script.end(),
                     [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.at < b.at; });
    while (nextEvent < state.script.size() && nextEventTime() <= state.now) handle(state.script[nextEvent++]);
    refreshKeyState(keys, nullptr, 0);
    for (int key : held) addHeldKey(keys, key);
}

double lastEventTime() { return state.script.empty() ? 0.0 : state.script.back().at; }

// Any address will do: the tests only look at which names were asked for.
void fakeEntryPoint() {}
}  // namespace

ScriptedPlatform& scripted() { return state; }

void resetScriptedPlatform() {
    state = ScriptedPlatform{};
    keys = KeyState{};
    keys.focused = true;
    held.clear();
    nextEvent = 0;
    shown = true;
    lookedAway = false;
    keyPressedInBatch = false;
    wantsPicture = false;
    terminationSignal = false;
    readsWithoutTime = 0;
    seedMersenneTwister(generator, 5489.0);
}

void scriptAt(double at, Happening what, int key) { state.script.push_back({at, what, key}); }
void scriptTap(double at, int key) { scriptAt(at, Happening::tap, key); }
void scriptHold(double from, double to, int key) {
    scriptAt(from, Happening::keyDown, key);
    scriptAt(to, Happening::keyUp, key);
}
int presentsBetween(double from, double to) {
    return static_cast<int>(std::count_if(state.presentTimes.begin(), state.presentTimes.end(),
                                          [&](double t) { return t >= from && t < to; }));
}
double scriptTime() { return state.now - state.start; }

void setUpProcess() {}
bool terminationRequested() { return terminationSignal; }

void requestDepthBits(int) {}
void requestSamples(int) {}
bool openDisplay(int, int, int) { return state.displayOpens; }

void present() {
    state.now += state.presentSeconds;
    state.presentTimes.push_back(scriptTime());
    handleDueEvents();
}

bool waitForEvents(int timeoutMilliseconds) {
    ++state.waits;
    state.now = std::max(state.now, std::min(nextEventTime(), state.now + timeoutMilliseconds * 0.001));
    handleDueEvents();
    const bool wanted = wantsPicture || keyPressedInBatch;
    wantsPicture = false;
    return wanted;
}

bool keyDown(int scanCode) { return readKey(keys, scanCode); }

void dropPendingPresses() { dropPendingPresses(keys); }

bool windowLookedAway() {
    const bool result = lookedAway;
    lookedAway = false;
    return result;
}

void allowScreensaver(bool allowed) { state.screensaverAllowed = allowed; }

bool anyKeyPressed() { return keyPressedInBatch; }
bool windowInView() { return shown && keys.focused; }
bool windowShown() { return shown; }

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
    state.keptSettingTimes.push_back(scriptTime());
}

void keepPaletteSetting(bool contrast) {
    state.settings.contrastPalette = contrast;
    state.keptSettings.emplace_back(contrast ? "palette=contrast" : "palette=design");
    state.keptSettingTimes.push_back(scriptTime());
}

int openSound() {
    if (state.soundRate > 0 && !state.soundOpen) {
        state.soundOpen = true;
        ++state.soundOpens;
        state.soundOpenTimes.push_back(scriptTime());
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

BestGames loadBestGames() { return state.bestGames; }

int keepFinishedGame(int score, double playSeconds, std::span<const std::uint8_t> recording) {
    state.finishedGames.push_back({score, playSeconds, {recording.begin(), recording.end()}});
    BestGameEntry entry{score, static_cast<std::int64_t>(state.now), playSeconds, ""};
    if (!recording.empty()) {
        entry.recording = "game-" + std::to_string(state.finishedGames.size()) + ".twrec";
        state.bestGamesRecordings[entry.recording].assign(recording.begin(), recording.end());
    }
    // After every game of its score or better: of equal scores the earlier first.
    auto& entries = state.bestGames.entries;
    const auto place = std::find_if(entries.begin(), entries.end(),
                                    [&](const BestGameEntry& e) { return e.score < score; });
    entries.insert(place, entry);
    while (entries.size() > static_cast<std::size_t>(bestGamesKept)) {
        state.bestGamesRecordings.erase(entries.back().recording);
        entries.pop_back();
    }
    state.bestScore = std::max(state.bestScore, score);
    return state.bestScore;
}

bool loadBestGamesRecording(const BestGameEntry& entry, std::vector<std::uint8_t>& bytes) {
    if (entry.recording.empty()) return false;
    const auto kept = state.bestGamesRecordings.find(entry.recording);
    if (kept == state.bestGamesRecordings.end()) {
        state.errorLines.push_back(entry.recording + ": missing");
        return false;
    }
    bytes = kept->second;
    return true;
}

void reportBadBestGamesRecording(const BestGameEntry& entry, const std::string& what) {
    state.errorLines.push_back(entry.recording + ": " + what);
}

std::string exportBestGame(const BestGameEntry& entry) {
    if (!state.bestGamesRecordings.contains(entry.recording)) {
        state.errorLines.push_back(entry.recording + ": not exported");
        return "";
    }
    state.exportedGames.push_back(entry);
    return "/home/player/tubewyrm-" + std::to_string(entry.score) + ".twrec";
}

// In UTC, so that tests read the same dates anywhere.
std::string localDateAndTime(std::int64_t secondsSince1970) {
    const std::time_t time = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    if (gmtime_r(&time, &parts) == nullptr) return "0000-00-00 00:00";
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
    return {text, length};
}

double readClock() {
    if (state.now != lastReading) readsWithoutTime = 0;
    lastReading = state.now;
    if (++readsWithoutTime > mostReadsWithoutTime || scriptTime() > lastEventTime() + state.giveUpAfter)
        throw ProgramEnded{-1};
    return state.now;
}

void sleepMilliseconds(int milliseconds) {
    state.now += milliseconds * 0.001;
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

// A named recording is read from disk here too, as the real platform reads it.
bool readRecordingFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& what) {
    what = readRecordingFileBytes(path, bytes, largestBestGameBytes).problem;
    return what.empty();
}

// Presents take presentSeconds whatever the refresh.
void requestNoRefreshWait() {}
