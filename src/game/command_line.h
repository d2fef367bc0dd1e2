#pragma once
// The options the program takes. Anything else on the command line is named
// on standard error and ignored: an unknown option never stops the game.
#include <span>
#include <string>
#include <vector>

struct Recording;

enum class RunMode {
    play,      // the title, as without options
    help,      // --help: the usage lines, then exit
    version,   // --version: the version, then exit
    replay,    // --replay FILE: the recording, then the title
    timedemo,  // --timedemo FILE: the recording as fast as it can be drawn, timed
};

struct CommandLine {
    RunMode mode = RunMode::play;
    std::string recordingPath;         // what --replay or --timedemo names
    std::vector<std::string> ignored;  // a line for standard error about each argument left unused
    std::string problem;               // why the run cannot start (exit status 1); empty when it can
};

// The arguments after the program's name. --help wins over everything else,
// then --version; of several recordings only the first is played.
CommandLine readCommandLine(std::span<const std::string> arguments);

std::string usageText();
std::string versionText();

// Standard output, and one "tubewyrm: " line on standard error. The command
// line is dealt with before any window opens, and --help and --version never
// touch the display at all.
void printOutput(const std::string& text);
void printNote(const std::string& text);

// The recording in path, decoded and run through the rules as the title's
// best game is. False after one line on standard error naming the file and
// what is wrong with it.
bool loadNamedRecording(const std::string& path, Recording& recording);
