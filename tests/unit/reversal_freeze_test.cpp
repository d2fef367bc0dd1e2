// While a reversal's pulse runs the snake stands still: nothing is eaten and
// nothing dies, whatever lies under the head.
#include <gtest/gtest.h>

#include "rules/frame_rules.h"
#include "rules/recorded_input.h"
#include "state/play_state.h"
#include "support/scripted_platform.h"

namespace {

TEST(ReversalFreeze, NothingMovesEatsOrDiesWhileThePulseRuns) {
    const struct {
        const char* what;
        float headY;
        bool foodOnHead;
        bool bodyOnHead;
    } table[] = {
        {"food under the head", 128.0f, true, false},
        {"the head on the bottom stone row", 5.0f, false, false},
        {"a body segment under the head", 128.0f, false, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        resetScriptedPlatform();
        PlayState play;
        for (int i = 0; i < 4; ++i) {
            Segment s;
            s.x = 200.0f + 5.0f * static_cast<float>(i);
            s.y = row.headY;
            s.dx = -2.0f;
            s.scale = 1.0f;
            play.snake.push_back(s);
        }
        play.heading = {-2.0f, 0.0f, 0.0f};
        play.food = {400.0f, 200.0f, 0.0f, 4};
        if (row.foodOnHead) play.food = {play.snake[0].x, play.snake[0].y, 0.0f, 4};
        if (row.bodyOnHead) play.snake[2] = play.snake[0];
        beginRecording(play);
        play.reversalPulse = 10.0f;
        play.frameTime = 0.02;
        play.playTime = 1.0;
        const PlayState before = play;

        ASSERT_TRUE(advancePlayFrame(play));
        EXPECT_EQ(play.snake, before.snake);
        EXPECT_EQ(play.food, before.food);
        EXPECT_GT(play.reversalPulse, before.reversalPulse) << "the pulse runs on";
    }
}

}  // namespace
