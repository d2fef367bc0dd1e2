#pragma once
// Test control of the scripted platform that stands in for SDL.
#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

struct ScriptedPlatform {
    // Clock: each reading returns `now` and then moves it on by `clockStep`;
    // each present moves it on by `presentStep` too.
    double now = 1000.0;
    double clockStep = 0.001;
    double presentStep = 0.0;
    int clockReads = 0;

    // Keys held after present n are keysAfterPresent[n] (the last entry holds
    // for every later present); before the first present, keysBeforeFirstPresent.
    std::set<int> keysBeforeFirstPresent;
    std::vector<std::set<int>> keysAfterPresent;
    int presents = 0;
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

    // Random numbers: queued values first, then the real generator.
    std::deque<double> randoms;

    std::string extensions;
    bool displayOpens = true;
    std::vector<std::string> consoleLines;  // each with its CR LF
    std::vector<int> openChannels;
    std::vector<std::string> lookedUp;  // entry point names, in order
    int exitStatus = -1;

    // A termination signal arrives during present n (counting from 1); -1 for never.
    int terminationAtPresent = -1;
};

ScriptedPlatform& scripted();
void resetScriptedPlatform();

// Thrown by endProgram so a test can see the status instead of the process ending.
struct ProgramEnded {
    int status;
};
