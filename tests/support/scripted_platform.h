#pragma once
// Test control of the scripted platform that stands in for SDL.
#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

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

    // The kept best score (-1: none) and every score the game asked to keep.
    int bestScore = -1;
    std::vector<int> savedBestScores;
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

    // A termination signal arrives during present n (counting from 1); -1 for never.
    int terminationAtPresent = -1;
};

ScriptedPlatform& scripted();
void resetScriptedPlatform();

// Thrown by endProgram so a test can see the status instead of the process ending.
struct ProgramEnded {
    int status;
};
