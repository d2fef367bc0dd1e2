// The games recorded by version 1.1.0 replay through today's rules to the
// same end: the dense test of the rules.
#include <gtest/gtest.h>

#include <string>

#include "rules/frame_rules.h"
#include "rules/recording_check.h"
#include "state/play_state.h"
#include "support/recorded_games.h"

namespace {

TEST(KeptGames, EachReplaysToItsScoreFramesAndSnake) {
    const std::vector<KeptGame> games = keptGames();
    ASSERT_GE(games.size(), 4u) << "the table in " << testDataFolder();
    for (const KeptGame& game : games) {
        SCOPED_TRACE(game.name);
        Recording recording;
        std::string problem;
        ASSERT_TRUE(loadKeptRecording(game.name, recording, problem)) << problem;
        EXPECT_TRUE(checkRecording(recording, problem)) << problem;

        PlayState play;
        startReplay(play, recording);
        int frames = 0;
        for (bool alive = true; alive;) {
            ++frames;
            alive = runReplayedFrame(play);
        }
        EXPECT_EQ(play.input.problem, "");
        EXPECT_EQ(frames, game.frames);
        EXPECT_EQ(upperIndex(play.snake), game.score);
        EXPECT_EQ(snakeHash(play.snake), game.snakeHash);
    }
}

}  // namespace
