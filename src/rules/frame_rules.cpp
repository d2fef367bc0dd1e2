#include "rules/frame_rules.h"

#include <cstddef>
#include <utility>

#include "rules/food_rules.h"
#include "rules/game_update.h"
#include "rules/portable_sine.h"
#include "rules/recorded_input.h"
#include "rules/snake_rules.h"
#include "state/play_state.h"

bool runFrameRules(PlayState& play) {
    play.wiggle = static_cast<float>(portableSine(20.0 * play.playTime) * 0.5);
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

bool advancePlayFrame(PlayState& play) {
    if (!runFrameRules(play)) return false;
    advanceReversalPulse(play);
    return true;
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
    carriedOver(play) = input.recording.carried;
    // What game start does, less the clock.
    play.headAngle = 0;
    play.heading = {2.0f, 0.0f, 0.0f};
    resetSnake(play.snake);
    placeFood(play.food, foodOrigin(), foodExtent(play.boardWidth, play.boardHeight), play.snake, input);
}

bool runReplayedFrame(PlayState& play) {
    if (!takeFrameTime(play.input, play.frameTime)) return false;
    play.playTime += play.frameTime;
    const bool alive = advancePlayFrame(play);
    checkNoCheckpointSkipped(play.input);
    return alive && play.input.problem.empty();
}
