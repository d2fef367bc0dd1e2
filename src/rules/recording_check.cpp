#include "rules/recording_check.h"

#include "rules/frame_rules.h"
#include "state/play_state.h"

bool checkRecording(Recording& recording, std::string& problem) {
    PlayState play;
    startReplay(play, recording);
    GameInput& input = play.input;
    bool alive = input.problem.empty();
    while (alive) alive = runReplayedFrame(play);
    if (input.problem.empty() && input.frames != input.recording.frameTimes.size())
        input.problem = "the game ends in frame " + std::to_string(input.frames) + ", before the recording does";
    if (input.problem.empty() &&
        (input.nextArrows != input.recording.arrows.size() || input.nextRandom != input.recording.randoms.size()))
        input.problem = "the recording holds input the game never used";
    problem = input.problem;
    std::swap(play.input.recording, recording);
    return problem.empty();
}
