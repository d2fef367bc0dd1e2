#include "game/attract_mode.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/frame_rules.h"
#include "game/palette_switch.h"
#include "game/program.h"
#include "game/recording_check.h"
#include "game/recording_file.h"
#include "game/snake.h"
#include "game/sound_flow.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/cylinder_pass.h"
#include "render/title_screen.h"

namespace {

constexpr int frameSleepMilliseconds = 3;

// The replayed frames due by now have run; draws the last of them.
void drawReplayFrame(Program& program, PlayState& shown) {
    runBoardPass(shown, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    // The score the game ended with, as the title's best score says it.
    runCylinderPass(shown, boardTexture(program), shown.boardHeight, program.light, program.font, "Best game ",
                    recordedScore(shown.input.recording));
    drawReplayPrompt(program.font);
    present();
}

}  // namespace

void loadBestGameForReplay(Program& program) {
    program.bestGameReplayable = false;
    std::vector<std::uint8_t> bytes;
    if (!loadBestGame(bytes)) return;
    std::string problem;
    if (!decodeRecording(bytes, program.bestGame, problem) || !checkRecording(program.bestGame, problem)) {
        reportBadBestGame(problem);
        program.bestGame = Recording{};
        return;
    }
    // A recording of another score belongs to no kept best.
    program.bestGameReplayable = recordedScore(program.bestGame) == program.play.bestScore;
}

void adoptBestGame(Program& program) {
    program.bestGame = program.play.input.recording;
    program.bestGameReplayable = true;
}

bool replayDue(const Program& program, double idleSeconds) {
    return program.bestGameReplayable && idleSeconds >= replayIdleSeconds && windowInView();
}

ReplayOutcome runReplay(Program& program) {
    PlayState& shown = program.replay;
    startReplay(shown, program.bestGame);
    const double start = readClock();
    double replayed = 0.0;  // recorded game time run so far
    ReplayOutcome outcome = ReplayOutcome::finished;
    bool alive = shown.input.problem.empty();
    while (alive) {
        // Every recorded frame due by now runs; only the last one is drawn,
        // and the board pass advances its reversal pulse.
        const double due = readClock() - start;
        const auto& steps = shown.input.recording.frameTimes;
        int ran = 0;
        while (alive && shown.input.frames < steps.size() && replayed + steps[shown.input.frames] <= due) {
            if (ran > 0) advanceReversalPulse(shown);
            replayed += steps[shown.input.frames];
            alive = runReplayedFrame(shown);
            ++ran;
        }
        if (!alive) break;
        if (ran > 0) drawReplayFrame(program, shown);
        sleepMilliseconds(frameSleepMilliseconds);
        if (ran == 0) continue;
        // M and C act as on the title (a replay itself plays no sounds).
        const bool paletteSwitched = switchPaletteIfAsked(program, false);
        const bool soundSwitched = handleSoundKey(program);
        if (keyDown(scanEscape) || terminationRequested()) {
            outcome = ReplayOutcome::quit;
            break;
        }
        if (keyDown(scanSpace)) {
            outcome = ReplayOutcome::startGame;
            break;
        }
        if (anyKeyPressed() && !paletteSwitched && !soundSwitched) {
            outcome = ReplayOutcome::backToTitle;
            break;
        }
    }
    std::swap(shown.input.recording, program.bestGame);
    return outcome;
}
