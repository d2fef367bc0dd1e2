// Start-up reads the table of best games but leaves running a recording
// through the rules to the moment its replay is first due, so a long one
// never delays the title.
#include <gtest/gtest.h>

#include <string>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "game/program_flow.h"
#include "rules/recording_file.h"
#include "support/recorded_games.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

namespace {

TEST(BestGameCheck, WaitsForTheFirstReplayAndARecordingThatNoLongerFollowsIsNeverShown) {
    for (const bool follows : {true, false}) {
        SCOPED_TRACE(follows ? "a good recording" : "one whose second food moved");
        resetScriptedPlatform();
        Recording recording;
        std::string problem;
        ASSERT_TRUE(loadKeptRecording("long_snake", recording, problem)) << problem;
        if (!follows) recording.randoms[3] += 10.0 / 488.0;
        std::vector<std::uint8_t> bytes;
        encodeRecording(recording, bytes);
        addKeptGame(recordedScore(recording), bytes, "long");
        Program program;
        loadKeptGames(program);
        EXPECT_TRUE(scripted().errorLines.empty()) << "nothing run through the rules yet";
        EXPECT_EQ(program.kept.watch, std::vector<Watch>{Watch::unchecked});

        // Idle on the title past its ten seconds, the table, then Escape.
        scriptTap(17.0, scanEscape);
        EXPECT_EQ(runSession(program), 0);
        EXPECT_EQ(scripted().errorLines.size(), follows ? 0u : 1u);
        EXPECT_EQ(program.replay.input.frames > 0, follows) << "replayed only if it follows the rules";
    }
}

}  // namespace
