#include "game/command_line.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "platform/platform.h"
#include "rules/recording_check.h"
#include "rules/recording_file.h"
#include "state/recording.h"

namespace {

struct RecordingOption {
    std::string_view name;
    RunMode mode;
};
constexpr RecordingOption recordingOptions[] = {{"--replay", RunMode::replay}, {"--timedemo", RunMode::timedemo}};

}  // namespace

CommandLine readCommandLine(std::span<const std::string> arguments) {
    CommandLine command;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        help = help || argument == "--help";
        version = version || argument == "--version";
        if (argument == "--help" || argument == "--version") continue;
        const RecordingOption* option = nullptr;
        bool named = false;
        std::string path;
        for (const RecordingOption& candidate : recordingOptions) {
            const std::string_view name = candidate.name;
            if (argument == name) {
                option = &candidate;
                named = i + 1 < arguments.size();
                if (named) path = arguments[++i];
            } else if (argument.starts_with(name) && argument.size() > name.size() && argument[name.size()] == '=') {
                option = &candidate;
                path = argument.substr(name.size() + 1);
                named = !path.empty();
            }
        }
        if (option == nullptr) {
            command.ignored.push_back("ignoring the argument \"" + argument + "\" (tubewyrm --help lists the options)");
        } else if (!named) {
            if (command.problem.empty()) command.problem = std::string(option->name) + " needs a recording file";
        } else if (command.mode != RunMode::play) {
            command.ignored.push_back("ignoring " + std::string(option->name) + " " + path +
                                      ": one recording at a time");
        } else {
            command.mode = option->mode;
            command.recordingPath = path;
        }
    }
    if (version) command.mode = RunMode::version;
    if (help) command.mode = RunMode::help;
    return command;
}

std::string usageText() {
    return "Usage: tubewyrm [--replay FILE | --timedemo FILE]\n"
           "       tubewyrm --help | --version\n"
           "Steer a snake round a board wrapped on a turning drum.\n"
           "\n"
           "  --replay FILE     play the recorded game in FILE, then show the title\n"
           "  --timedemo FILE   draw every frame of the recorded game in FILE as fast as\n"
           "                    the machine can, print how fast as the last line, and exit\n"
           "  --help            print this and exit\n"
           "  --version         print the version and exit\n"
           "\n"
           "Arrow keys steer, Space starts, P pauses, M sound, C colours, B best games,\n"
           "Escape quits.\n"
           "man 6 tubewyrm tells the rest.\n";
}

std::string versionText() { return "tubewyrm " TUBEWYRM_VERSION "\n"; }

void printOutput(const std::string& text) {
    // A standard output that cannot be written leaves nobody to tell.
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stdout));
}

void printNote(const std::string& text) {
    const std::string line = "tubewyrm: " + text + "\n";
    static_cast<void>(std::fwrite(line.data(), 1, line.size(), stderr));
}

bool loadNamedRecording(const std::string& path, Recording& recording) {
    std::vector<std::uint8_t> bytes;
    std::string problem;
    if (readRecordingFile(path, bytes, problem) && decodeRecording(bytes, recording, problem) &&
        checkRecording(recording, problem))
        return true;
    printNote("cannot play the recording " + path + ": " + problem);
    return false;
}
