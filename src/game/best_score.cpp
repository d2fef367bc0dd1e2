#include "game/best_score.h"

#include <algorithm>

#include "game/play_state.h"
#include "game/snake.h"
#include "platform/platform.h"

void noteFinalScore(PlayState& play) {
    const int score = upperIndex(play.snake);
    // Judged against the best this game knows, never waiting for the file.
    noteEvent(play.events, score > play.bestScore ? GameEventKind::newBest : GameEventKind::death);
    // Another game of this player may have kept a higher best since this one
    // read it: the title shows whichever is kept.
    if (score > play.bestScore)
        play.bestScore = saveBestScore(score);
    else
        play.bestScore = std::max(play.bestScore, loadBestScore());
}
