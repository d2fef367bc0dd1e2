#include "rules/best_score.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "rules/recording_file.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"

void noteFinalScore(PlayState& play) {
    const int score = upperIndex(play.snake);
    // Judged against the best this game knows, never waiting for the file.
    noteEvent(play.events, score > play.bestScore ? GameEventKind::newBest : GameEventKind::death);
    std::vector<std::uint8_t> bytes;
    if (play.input.mode == InputMode::recording) encodeRecording(play.input.recording, bytes);
    // Its length in play time: what it added to the run's.
    const double length = play.playTime - play.input.recording.carried.playTime;
    // Another game of this player may have kept a higher best meanwhile: the
    // title shows whichever is kept.
    play.bestScore = std::max(play.bestScore, keepFinishedGame(score, length, bytes));
}
