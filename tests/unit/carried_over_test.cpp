// What a game takes over from the one before goes whole into its recording,
// and a replay starts from all of it.
#include <gtest/gtest.h>

#include <string>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "rules/frame_rules.h"
#include "rules/recorded_input.h"
#include "rules/recording_check.h"
#include "support/scripted_platform.h"

namespace {

TEST(CarriedOver, EveryValueAGameStartsFromIsRecordedAndReplayed) {
    resetScriptedPlatform();
    Program program;
    PlayState& live = program.play;
    // Every value unlike a fresh state's, each one telling: the game starts
    // frozen in a reversal pulse, swaying sideways while it moves up, its
    // first trail step still ahead when it sets off, its head on the pixel
    // last polled, on a board whose size places the food and the top row.
    carriedOver(live) = {.playTime = 3.21,
                         .nextTrailStep = 3.65,
                         .lastPollPosition = {256.5f, 128.5f, 0.0f},
                         .reversalPulse = 10.0f,
                         .movingHorizontally = false,
                         .movingVertically = true,
                         .boardWidth = 640,
                         .boardHeight = 320};
    // A 5 straight above the head, on the way to the top row.
    scripted().randoms = {256.0 / 616.0, 176.0 / 272.0, 0.5};
    startGame(program);
    // Up held from the start; a frame as the play loop runs it, without drawing.
    scriptAt(0.0, Happening::keyDown, scanUp);
    std::uint32_t frames = 0;
    for (bool alive = true; alive && frames < 1000; ++frames) {
        present();
        live.frameTime = 1.0 / 60.0;
        noteFrameTime(live.input, live.frameTime);
        live.playTime += live.frameTime;
        alive = advancePlayFrame(live);
    }
    ASSERT_GT(upperIndex(live.snake), 1) << "the 5 was eaten";
    ASSERT_LT(frames, 1000u) << "the game ended";

    Recording recording = live.input.recording;
    std::string problem;
    EXPECT_TRUE(checkRecording(recording, problem)) << problem;
    PlayState shown;
    startReplay(shown, recording);
    std::uint32_t replayed = 1;
    while (runReplayedFrame(shown)) ++replayed;
    EXPECT_EQ(shown.input.problem, "");
    EXPECT_EQ(replayed, frames);
    EXPECT_EQ(shown.snake, live.snake);
    EXPECT_EQ(carriedOver(shown), carriedOver(live));
}

}  // namespace
