#include "game/recording_check.h"

#include "game/frame_rules.h"
#include "game/play_state.h"
#include "game/snake.h"

bool checkRecording(Recording& recording, std::string& problem) {
    PlayState play;
    startReplay(play, recording);
    GameInput& input = play.input;
    bool alive = input.problem.empty();
    while (alive) {
        alive = runReplayedFrame(play);
        // What the board pass does after a frame the game survived.
        if (alive) advanceReversalPulse(play);
    }
    if (input.problem.empty() && input.frames != input.recording.frameTimes.size())
        input.problem = "the game ends in frame " + std::to_string(input.frames) + ", before the recording does";
    if (input.problem.empty() &&
        (input.nextArrows != input.recording.arrows.size() || input.nextRandom != input.recording.randoms.size()))
        input.problem = "the recording holds input the game never used";
    problem = input.problem;
    std::swap(play.input.recording, recording);
    return problem.empty();
}
