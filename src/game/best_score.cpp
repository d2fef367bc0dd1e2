#include "game/best_score.h"

#include "game/play_state.h"
#include "game/snake.h"
#include "platform/platform.h"

void noteFinalScore(PlayState& play) {
    const int score = upperIndex(play.snake);
    noteEvent(play.events, score > play.bestScore ? GameEventKind::newBest : GameEventKind::death);
    if (score <= play.bestScore) return;
    play.bestScore = score;
    saveBestScore(score);
}
