#pragma once
// Test control of the scripted platform that stands in for SDL.
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

// What the window system can tell about the window.
enum class WindowEvent { focusLost, focusGained, minimised, hidden, exposed };

// Something that happens while the game waits for events.
struct WaitEvent {
    std::vector<WindowEvent> window;
    std::set<int> taps;  // keys pressed and let go
};

struct ScriptedPlatform {  // NOLINT(clang-analyzer-optin.performance.Padding): grouped by what they script
    // Clock: each reading returns `now` and then moves it on by `clockStep`;
    // each present moves it on by `presentStep` too.
    double now = 1000.0;
    double clockStep = 0.001;
    double presentStep = 0.0;
    int clockReads = 0;

    // Keys held after present n are keysAfterPresent[n] (the last entry holds
    // for every later present); before the first present, keysBeforeFirstPresent.
    // A key held at a present and not at the one before was pressed there.
    // All of them go through the real key state's latch.
    std::set<int> keysBeforeFirstPresent;
    std::vector<std::set<int>> keysAfterPresent;
    // Keys pressed and let go again just before present n (counting from 1).
    std::map<int, std::set<int>> tapsAtPresent;
    // Window events handled in present n (counting from 1).
    std::map<int, std::vector<WindowEvent>> windowEventsAtPresent;
    // Events handled in wait n (counting from 1), which ends at once; a wait
    // without any moves the clock on by its timeout.
    std::map<int, WaitEvent> eventsInWait;
    int presents = 0;
    int waits = 0;
    int waitedMilliseconds = 0;
    bool pacedByRefresh = false;
    bool screensaverAllowed = false;
    int drawableWidth = 1024;
    int drawableHeight = 768;
    int sleeps = 0;
    int sleptMilliseconds = 0;

    // The kept best score (-1: none) and every score the game asked to keep. A
    // test sets bestScore to what another running game kept meanwhile; a save
    // replaces it only when higher, with the recording in keptBestGame.
    int bestScore = -1;
    std::vector<int> savedBestScores;
    std::vector<std::uint8_t> keptBestGame;
    std::vector<std::uint8_t> lastSavedBestGame;  // the bytes of the last save, kept or not

    // The stored choices, and each choice kept, as its line ("sound=off").
    Settings settings;
    std::vector<std::string> keptSettings;
    // The kept best game's bytes, when there is such a file.
    bool bestGameExists = false;
    std::vector<std::uint8_t> bestGame;
    // Lines the platform put on standard error about the best game.
    std::vector<std::string> errorLines;
    bool inView = true;  // focused and shown

    // Random numbers: queued values first, then the real generator.
    std::deque<double> randoms;

    std::string extensions;
    bool displayOpens = true;
    std::vector<std::string> consoleLines;  // each with its CR LF
    std::vector<int> openChannels;
    std::vector<std::string> lookedUp;  // entry point names, in order
    int exitStatus = -1;

    // Sound: the rate openSound gives (0: no output), how often it was
    // opened and closed, the effects kept and every effect played (-1 marks
    // a stop before the effects after it).
    int soundRate = 0;
    bool soundOpen = false;
    int soundOpens = 0;
    int soundCloses = 0;
    std::vector<std::vector<float>> keptEffects;
    std::vector<int> playedEffects;

    // A termination signal arrives during present n (counting from 1), or
    // once the clock reaches the time; -1 for never.
    int terminationAtPresent = -1;
    double terminationAtTime = -1.0;
};

ScriptedPlatform& scripted();
void resetScriptedPlatform();

// Thrown by endProgram so a test can see the status instead of the process ending.
struct ProgramEnded {
    int status;
};
