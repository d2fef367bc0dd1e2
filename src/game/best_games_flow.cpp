#include "game/best_games_flow.h"

#include <algorithm>
#include <cstddef>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "render/best_games_screen.h"

namespace {

std::string exportLine(const BestGameEntry& entry) {
    if (entry.recording.empty()) return "No recording of this game is kept";
    const std::string path = exportBestGame(entry);
    return path.empty() ? "Could not save it..." : "Saved as " + path;
}

}  // namespace

void holdOverBestGamesKeys(BestGamesChoice& choice) {
    for (KeyLatch* latch : {&choice.up, &choice.down, &choice.space, &choice.enter, &choice.exportKey, &choice.back})
        holdOver(*latch);
}

BestGamesAction readBestGamesKeys(Program& program, BestGamesChoice& choice) {
    const int rows = static_cast<int>(program.kept.table.entries.size());
    // Every latch is read each turn, so none keeps a press for later.
    const bool up = pressedOnce(choice.up);
    const bool down = pressedOnce(choice.down);
    const bool space = pressedOnce(choice.space);
    const bool enter = pressedOnce(choice.enter);
    const bool exportIt = pressedOnce(choice.exportKey);
    if (pressedOnce(choice.back)) return BestGamesAction::back;
    if (rows == 0) return BestGamesAction::none;
    const int row = std::clamp(choice.row + (down ? 1 : 0) - (up ? 1 : 0), 0, rows - 1);
    BestGamesAction action = BestGamesAction::none;
    if (row != choice.row) {
        choice.row = row;
        choice.note.clear();
        action = BestGamesAction::changed;
    }
    const auto chosen = static_cast<std::size_t>(choice.row);
    if (exportIt) {
        choice.note = exportLine(program.kept.table.entries[chosen]);
        action = BestGamesAction::changed;
    }
    if (space || enter) {
        if (checkKeptGame(program, chosen)) return BestGamesAction::watch;
        // Found out just now: the row dims and says so.
        choice.note.clear();
        action = BestGamesAction::changed;
    }
    return action;
}

void drawBestGamesFrame(const Program& program, int row, bool byPlayer, const std::string& note) {
    BestGamesPicture picture;
    picture.games = &program.kept.table;
    const std::size_t rows = std::min(program.kept.watch.size(), picture.unwatchable.size());
    for (std::size_t i = 0; i < rows; ++i) picture.unwatchable[i] = program.kept.watch[i] == Watch::refused;
    picture.chosen = row;
    picture.byPlayer = byPlayer;
    picture.note = note;
    drawBestGamesScreen(program.font, picture);
}
