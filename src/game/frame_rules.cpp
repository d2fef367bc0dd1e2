#include "game/frame_rules.h"

#include <cmath>
#include <utility>

#include "game/food.h"
#include "game/game_input.h"
#include "game/game_update.h"
#include "game/play_state.h"
#include "game/snake.h"

bool runFrameRules(PlayState& play) {
    play.wiggle = static_cast<float>(std::sin(20.0 * play.playTime) * 0.5);
    if (play.movingHorizontally) play.heading.y = play.wiggle;
    if (play.movingVertically) play.heading.x = play.wiggle;
    play.viewX = -play.snake[0].x;
    play.viewY = -play.snake[0].y;
    play.segmentRadius = 8.0f;
    if (play.reversalPulse != 0.0f) return true;
    const std::size_t length = play.snake.size();
    const bool alive = runGameUpdate(play);
    if (!alive || play.snake.size() != length)
        passCheckpoint(play.input, upperIndex(play.snake), play.snake[0].x, play.snake[0].y);
    return alive;
}

void startReplay(PlayState& play, Recording& recording) {
    GameInput& input = play.input;
    std::swap(input.recording, recording);
    input.mode = InputMode::replaying;
    input.frames = 0;
    input.nextArrows = 0;
    input.nextRandom = 0;
    input.nextCheckpoint = 0;
    input.problem.clear();
    const Recording& r = input.recording;
    play.playTime = r.playTime;
    play.nextTrailStep = r.nextTrailStep;
    play.lastPollPosition = r.lastPollPosition;
    play.reversalPulse = r.reversalPulse;
    play.movingHorizontally = r.movingHorizontally;
    play.movingVertically = r.movingVertically;
    play.boardWidth = r.boardWidth;
    play.boardHeight = r.boardHeight;
    // What game start does, less the clock.
    play.headAngle = 0;
    play.heading = {2.0f, 0.0f, 0.0f};
    resetSnake(play.snake);
    placeFood(play.food, foodOrigin(), foodExtent(play.boardWidth, play.boardHeight), play.snake, input);
}

bool runReplayedFrame(PlayState& play) {
    if (!takeFrameTime(play.input, play.frameTime)) return false;
    play.playTime += play.frameTime;
    const bool alive = runFrameRules(play);
    checkNoCheckpointSkipped(play.input);
    return alive && play.input.problem.empty();
}
