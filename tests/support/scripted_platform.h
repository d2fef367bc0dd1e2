#pragma once
// Test control of the scripted platform that stands in for SDL: one timed
// script of what happens to the game, and a clock that moves only as the
// game presents, sleeps and waits, never because it is read.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

// Something that happens to the game at a point of scripted time.
enum class Happening {
    keyDown,      // a key (or pad button, as its key) goes down and stays
    keyUp,        // and comes up
    tap,          // down and up again between two looks at the keys
    focusLost,    // the window loses the keyboard focus
    focusGained,  //
    minimised,    // or hidden: out of view until restored
    restored,     // shown again, with the focus
    exposed,      // needs a new picture
    termination,  // a termination signal
};

struct ScriptedEvent {
    double at = 0.0;  // seconds after the script's start
    Happening what = Happening::keyDown;
    int key = 0;
};

struct ScriptedPlatform {  // NOLINT(clang-analyzer-optin.performance.Padding): grouped by what they script
    // Clock: starts at `start`; a present moves it on by presentSeconds (what
    // drawing and swapping a picture took), a sleep by its length, a wait to
    // the next scripted event or its timeout, whichever comes first.
    double start = 1000.0;
    double now = 1000.0;
    double presentSeconds = 1.0 / 60.0;
    // What happens, in order of time; each is handled at the first present or
    // wait at or after its time.
    std::vector<ScriptedEvent> script;
    // A run that goes on this long after the script's last event ends the
    // test with ProgramEnded{-1} instead of hanging it.
    double giveUpAfter = 600.0;

    // What the game did, with the scripted time of each present.
    std::vector<double> presentTimes;
    int waits = 0;
    int sleptMilliseconds = 0;
    bool screensaverAllowed = false;
    int drawableWidth = 1024;
    int drawableHeight = 768;

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
    std::vector<double> keptSettingTimes;  // the scripted time of each
    // The kept best game's bytes, when there is such a file.
    bool bestGameExists = false;
    std::vector<std::uint8_t> bestGame;
    // Lines the platform put on standard error about the best game.
    std::vector<std::string> errorLines;

    // The player's best games as loadBestGames gives them, the recordings
    // kept under their entries' names, every finished game the game asked to
    // keep, and the entries exported. A kept game
    // enters the table as the real store keeps it, ended at the scripted time.
    BestGames bestGames;
    std::map<std::string, std::vector<std::uint8_t>> bestGamesRecordings;
    struct FinishedGame {
        int score = 0;
        double playSeconds = 0.0;
        std::vector<std::uint8_t> recording;
    };
    std::vector<FinishedGame> finishedGames;
    std::vector<BestGameEntry> exportedGames;

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
    std::vector<double> soundOpenTimes;  // the scripted time of each opening
    int soundCloses = 0;
    std::vector<std::vector<float>> keptEffects;
    std::vector<int> playedEffects;
};

ScriptedPlatform& scripted();
void resetScriptedPlatform();

// Script helpers, times in seconds after the start.
void scriptAt(double at, Happening what, int key = 0);
void scriptTap(double at, int key);
void scriptHold(double from, double to, int key);
// Presents in [from, to) seconds after the start.
int presentsBetween(double from, double to);
// Seconds since the script's start.
double scriptTime();

// Thrown by endProgram so a test can see the status instead of the process ending.
struct ProgramEnded {
    int status;
};
