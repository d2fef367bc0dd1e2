#include "game/best_game_replay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/program.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/cylinder_pass.h"
#include "render/title_screen.h"
#include "rules/frame_rules.h"
#include "rules/recording_check.h"
#include "rules/recording_file.h"

void drawReplayFrame(const Program& program) {
    const PlayState& shown = program.replay;
    runBoardPass(shown, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    // The score the game ended with, as the title's best score says it.
    runCylinderPass(shown, boardTexture(program), shown.boardHeight, program.light, program.font, "Best game ",
                    recordedScore(shown.input.recording));
    drawReplayPrompt(program.font);
}

namespace {

// Runs the loaded recording through the rules; a recording that no longer
// follows them costs one line and the replay.
void checkBestGame(Program& program) {
    program.bestGameChecked = true;
    std::string problem;
    if (checkRecording(program.bestGame, problem)) return;
    reportBadBestGame(problem);
    program.bestGame = Recording{};
    program.bestGameReplayable = false;
}

}  // namespace

void loadBestGameForReplay(Program& program, bool checkNow) {
    program.bestGameReplayable = false;
    program.bestGameChecked = false;
    std::vector<std::uint8_t> bytes;
    if (!loadBestGame(bytes)) return;
    std::string problem;
    if (!decodeRecording(bytes, program.bestGame, problem)) {
        reportBadBestGame(problem);
        program.bestGame = Recording{};
        return;
    }
    // A recording of another score belongs to no kept best.
    program.bestGameReplayable = recordedScore(program.bestGame) == program.play.bestScore;
    if (checkNow) checkBestGame(program);
}

void adoptBestGame(Program& program) {
    program.bestGame = program.play.input.recording;
    program.bestGameReplayable = true;
    program.bestGameChecked = true;  // just played by these rules
}

bool replayDue(Program& program, double idleSeconds) {
    if (!program.bestGameReplayable || idleSeconds < replayIdleSeconds || !windowInView()) return false;
    if (!program.bestGameChecked) checkBestGame(program);
    return program.bestGameReplayable;
}

void startReplay(Program& program, ReplayClock& clock) {
    startReplay(program.replay, program.bestGame);
    clock.start = readClock();
    clock.replayed = 0.0;
}

ReplayStep runReplayStep(Program& program, ReplayClock& clock) {
    PlayState& shown = program.replay;
    if (!shown.input.problem.empty()) return ReplayStep::ended;
    const double due = readClock() - clock.start;
    const auto& steps = shown.input.recording.frameTimes;
    bool ran = false;
    while (shown.input.frames < steps.size() && clock.replayed + steps[shown.input.frames] <= due) {
        clock.replayed += steps[shown.input.frames];
        if (!runReplayedFrame(shown)) return ReplayStep::ended;
        ran = true;
    }
    if (ran) {
        drawReplayFrame(program);
        present();
        return ReplayStep::presented;
    }
    // Nothing due yet: the events meanwhile, until the next recorded frame is.
    const double next = shown.input.frames < steps.size() ? clock.replayed + steps[shown.input.frames] - due : 0.0;
    static_cast<void>(waitForEvents(std::max(1, static_cast<int>(std::ceil(next * 1000.0)))));
    return ReplayStep::waited;
}

void endReplay(Program& program) { std::swap(program.replay.input.recording, program.bestGame); }
