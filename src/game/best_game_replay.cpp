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

void drawReplayFrame(const Program& program, const ReplayClock& clock) {
    const PlayState& shown = program.replay;
    runBoardPass(shown, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    // The score the game ended with, as the title's best score says it; a
    // recording from elsewhere is no best game of this player's.
    runCylinderPass(shown, boardTexture(program), shown.boardHeight, program.light, program.font,
                    clock.kind == ReplayKind::named || clock.kind == ReplayKind::timed ? "Recorded game "
                                                                                       : "Best game ",
                    recordedScore(shown.input.recording));
    // The timed demo takes no keys but Escape.
    if (clock.kind == ReplayKind::watched)
        drawReplayPrompt(program.font, "Press Escape to go back...");
    else if (clock.kind != ReplayKind::timed)
        drawReplayPrompt(program.font, "Press Space to play...");
}

namespace {

// Reads, decodes and runs the row's recording through the rules; a
// recording that cannot be watched costs one line and the row's watch.
Watch checkedWatch(const BestGameEntry& entry, Recording& recording) {
    std::vector<std::uint8_t> bytes;
    if (!loadBestGamesRecording(entry, bytes)) return Watch::refused;
    std::string problem;
    if (!decodeRecording(bytes, recording, problem)) {
        reportBadBestGamesRecording(entry, problem);
        return Watch::refused;
    }
    // A recording of another score belongs to another game.
    if (recordedScore(recording) != entry.score) {
        reportBadBestGamesRecording(entry, "it ends with score " + std::to_string(recordedScore(recording)) + ", not " +
                                               std::to_string(entry.score));
        return Watch::refused;
    }
    if (!checkRecording(recording, problem)) {
        reportBadBestGamesRecording(entry, problem);
        return Watch::refused;
    }
    return Watch::offered;
}

}  // namespace

void loadKeptGames(Program& program) {
    KeptGames before = std::move(program.kept);
    KeptGames& kept = program.kept;
    kept = KeptGames{};
    kept.table = loadBestGames();
    const std::size_t rows = kept.table.entries.size();
    kept.watch.assign(rows, Watch::unchecked);
    kept.recordings.resize(rows);
    for (std::size_t row = 0; row < rows; ++row) {
        // Without a recording there is nothing to check.
        if (kept.table.entries[row].recording.empty()) kept.watch[row] = Watch::refused;
        const auto& old = before.table.entries;
        const auto same = std::find(old.begin(), old.end(), kept.table.entries[row]);
        if (same == old.end()) continue;
        const auto oldRow = static_cast<std::size_t>(same - old.begin());
        kept.watch[row] = before.watch[oldRow];
        kept.recordings[row] = std::move(before.recordings[oldRow]);
    }
}

bool checkKeptGame(Program& program, std::size_t row) {
    KeptGames& kept = program.kept;
    if (row >= kept.watch.size()) return false;
    if (kept.watch[row] == Watch::unchecked) {
        kept.watch[row] = checkedWatch(kept.table.entries[row], kept.recordings[row]);
        if (kept.watch[row] == Watch::refused) kept.recordings[row] = Recording{};
    }
    return kept.watch[row] == Watch::offered;
}

int takeIdleReplay(Program& program) {
    KeptGames& kept = program.kept;
    const std::size_t rows = kept.watch.size();
    for (std::size_t tried = 0; tried < rows; ++tried) {
        const std::size_t row = (kept.nextIdleReplay + tried) % rows;
        if (!checkKeptGame(program, row)) continue;
        kept.nextIdleReplay = (row + 1) % rows;
        return static_cast<int>(row);
    }
    return -1;
}

void startReplay(Program& program, Recording& recording, bool watched, ReplayClock& clock) {
    startReplay(program.replay, recording);
    clock.start = readClock();
    clock.replayed = 0.0;
    clock.lent = &recording;
    clock.kind = watched ? ReplayKind::watched : ReplayKind::idle;
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
        drawReplayFrame(program, clock);
        present();
        return ReplayStep::presented;
    }
    // Nothing due yet: the events meanwhile, until the next recorded frame is.
    const double next = shown.input.frames < steps.size() ? clock.replayed + steps[shown.input.frames] - due : 0.0;
    static_cast<void>(waitForEvents(std::max(1, static_cast<int>(std::ceil(next * 1000.0)))));
    return ReplayStep::waited;
}

void endReplay(Program& program, const ReplayClock& clock) { std::swap(program.replay.input.recording, *clock.lent); }
