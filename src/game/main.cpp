// Tubewyrm: a snake on a board wrapped round a turning drum.
#include <string>
#include <vector>

#include "game/command_line.h"
#include "game/program.h"
#include "game/program_flow.h"
#include "game/timed_demo.h"
#include "platform/platform.h"
#include "state/recording.h"

int main(int argc, char** argv) {
    setUpProcess();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    const CommandLine command = readCommandLine(arguments);
    for (const std::string& line : command.ignored) printNote(line);
    if (command.mode == RunMode::help || command.mode == RunMode::version) {
        printOutput(command.mode == RunMode::help ? usageText() : versionText());
        return 0;
    }
    if (!command.problem.empty()) {
        printNote(command.problem);
        return 1;
    }
    // A recording that cannot be played is told before any window opens.
    Recording named;
    if (command.mode != RunMode::play && !loadNamedRecording(command.recordingPath, named)) return 1;
    if (command.mode == RunMode::timedemo) requestNoRefreshWait();
    static Program program;
    startUp(program);
    if (command.mode == RunMode::timedemo) endProgram(runTimedDemo(program, named));
    endProgram(runSession(program, command.mode == RunMode::replay ? &named : nullptr));
}
