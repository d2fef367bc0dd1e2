#include "game/best_score.h"

#include <cstdint>
#include <vector>

#include "game/play_state.h"
#include "game/recording_file.h"
#include "game/snake.h"
#include "platform/platform.h"

bool noteFinalScore(PlayState& play) {
    const int score = upperIndex(play.snake);
    if (score <= play.bestScore) return false;
    std::vector<std::uint8_t> bytes;
    if (play.input.mode == InputMode::recording) encodeRecording(play.input.recording, bytes);
    play.bestScore = saveBestScore(score, bytes);
    return !bytes.empty() && play.bestScore == score;
}
