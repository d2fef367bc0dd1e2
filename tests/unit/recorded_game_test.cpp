// Recorded games: recording, keeping, checking and replaying one, the games
// version 1.1.0 kept, what a game carries over into its recording, and the
// check of the best games at start-up.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "game/program_flow.h"
#include "platform/best_game_file.h"
#include "platform/best_score_file.h"
#include "platform/platform.h"
#include "rules/frame_rules.h"
#include "rules/recorded_input.h"
#include "rules/recording_check.h"
#include "rules/recording_file.h"
#include "state/play_state.h"
#include "support/recorded_games.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

// Recording a game, keeping it, checking it and replaying it on the title,
// against the scripted platform.
namespace fs = std::filesystem;

namespace {

struct Step {
    double at;
    Happening what;
    int key = 0;
};

void script(const std::vector<Step>& steps) {
    for (const Step& s : steps) scriptAt(s.at, s.what, s.key);
}

// From the title, a game: Space at 0.5 s; it starts frozen in a reversal pulse
// carried over from an earlier game, then runs right into a 5 at (300, 128);
// Left at 1.6 s turns it round; Up from 2.55 s takes it through a 3 at
// (254, 200) into the top row. Escape on the title at 6 s.
void playScriptedGame(Program& program) {
    scripted().randoms = {300.0 / 488.0, 0.5, 0.5, 254.0 / 488.0, 176.0 / 208.0, 0.3};
    script({{0.5, Happening::tap, scanSpace},
            {1.6, Happening::tap, scanLeft},
            {2.55, Happening::keyDown, scanUp},
            {5.0, Happening::keyUp, scanUp},
            {6.0, Happening::tap, scanEscape}});
    program.play.playTime = 3.21;
    program.play.nextTrailStep = 3.25;
    program.play.lastPollPosition = {256.5f, 128.5f, 0.0f};
    program.play.reversalPulse = 10.0f;
    runSession(program);
}

std::vector<std::uint8_t> keptGameBytes(const std::string& name) {
    std::ifstream in(testDataFolder() + "/" + name + ".twrec", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordedGame : public ::testing::Test {
protected:
    void SetUp() override { resetScriptedPlatform(); }
    Program program;
};

TEST_F(RecordedGame, AChangedRandomNumberTimeStepOrCheckpointIsRefusedNamingTheFirstCheckpointMissed) {
    playScriptedGame(program);
    Recording kept;
    std::string problem;
    ASSERT_EQ(scripted().finishedGames.size(), 1u);
    ASSERT_TRUE(decodeRecording(scripted().finishedGames[0].recording, kept, problem)) << problem;
    ASSERT_EQ(kept.checkpoints.size(), 3u) << "two meals and the death";
    // Frames count from 1, time steps from 0.
    const std::size_t firstMeal = kept.checkpoints[0].frame - 1;
    struct Case {
        const char* change;
        std::function<void(Recording&)> apply;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"the first food ten pixels further", [](Recording& r) { r.randoms[0] += 10.0 / 488.0; },
         "misses checkpoint 1 "},
        {"the second food's value", [](Recording& r) { r.randoms[5] = 0.9; }, "misses checkpoint 2 "},
        {"a time step before the first meal", [&](Recording& r) { r.frameTimes[firstMeal - 2] = 0.02; },
         "misses checkpoint 1 "},
        {"a time step after the first meal", [&](Recording& r) { r.frameTimes[firstMeal + 3] = 0.0; },
         "misses checkpoint 2 "},
        {"the death a pixel lower", [](Recording& r) { r.checkpoints[2].headY -= 1.0f; }, "misses checkpoint 3 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        Recording changed = kept;
        c.apply(changed);
        encodeRecording(changed, scripted().bestGamesRecordings[scripted().bestGames.entries[0].recording]);
        scripted().errorLines.clear();
        Program nextRun;
        loadKeptGames(nextRun);
        EXPECT_FALSE(checkKeptGame(nextRun, 0));
        ASSERT_EQ(scripted().errorLines.size(), 1u);
        EXPECT_NE(scripted().errorLines[0].find(c.line), std::string::npos) << scripted().errorLines[0];
    }
}

// How far the title's replay got by the end of a run.
enum class Replayed { not_at_all, partly, wholly };

struct TitleCase {
    const char* what;
    std::vector<Step> steps;  // the last one (Escape or a signal) ends the run
    Replayed replayed;
    bool gamePlayed;
    std::vector<std::string> kept;  // the choices handed to the settings file
    // No picture in [quietFrom, quietTo); when quietTo is before the end, a
    // picture follows it.
    double quietFrom = 0.0;
    double quietTo = 0.0;
};

constexpr int otherKey = 30;

// Runs whose one kept game (a 1.1.0 recording, 3.8 s long) is offered on the
// first title; no game has been played, so the title stands still. Idle from
// 0 s, the idle cycle's table stands from 10 s, the replay runs from 16 s to
// about 19.8 s.
class TitleReplay : public ::testing::Test {
protected:
    void SetUp() override {
        std::string problem;
        ASSERT_TRUE(decodeRecording(bytes, kept, problem)) << problem;
    }
    void check(const TitleCase& c) {
        SCOPED_TRACE(c.what);
        resetScriptedPlatform();
        addKeptGame(recordedScore(kept), bytes, "kept");
        const auto program = std::make_unique<Program>();
        program->play.bestScore = recordedScore(kept);
        loadKeptGames(*program);
        script(c.steps);
        EXPECT_NO_THROW(runSession(*program));
        const double end = c.steps.back().at;
        EXPECT_GE(scriptTime(), end) << "ended before its last step";
        EXPECT_LT(scriptTime(), end + 0.1) << "did not end at its last step";
        const std::uint32_t frames = program->replay.input.frames;
        const auto wholeGame = static_cast<std::uint32_t>(kept.frameTimes.size());
        switch (c.replayed) {
        case Replayed::not_at_all: EXPECT_EQ(frames, 0u); break;
        case Replayed::partly:
            EXPECT_GT(frames, 0u);
            EXPECT_LT(frames, wholeGame);
            break;
        case Replayed::wholly:
            EXPECT_EQ(frames, wholeGame);
            EXPECT_EQ(program->replay.input.problem, "");
            break;
        }
        EXPECT_EQ(program->play.input.frames > 0, c.gamePlayed);
        EXPECT_EQ(scripted().keptSettings, c.kept);
        // Read only once the idle cycle came to it; a replay lends it out.
        if (c.replayed != Replayed::not_at_all) {
            EXPECT_EQ(program->kept.recordings.at(0), kept) << "the recording is back in its place";
        }
        if (c.quietTo > c.quietFrom) {
            EXPECT_EQ(presentsBetween(c.quietFrom, c.quietTo), 0);
            if (c.quietTo < end) {
                EXPECT_GT(presentsBetween(c.quietTo, end), 0) << "the title came back";
            }
        }
    }
    const std::vector<std::uint8_t> bytes = keptGameBytes("reversal_after_meal");
    Recording kept;
};

TEST_F(TitleReplay, StartsAfterTheIdleTableInViewAndEndsOnAKeyOrOutOfView) {
    const TitleCase cases[] = {
        {"Space before ten seconds",
         {{9.0, Happening::tap, scanSpace}, {12.0, Happening::tap, scanEscape}},
         Replayed::not_at_all,
         true,
         {}},
        {"Space on the idle table starts a game",
         {{12.0, Happening::tap, scanSpace}, {19.0, Happening::tap, scanEscape}},
         Replayed::not_at_all,
         true,
         {}},
        {"Space during it starts a game",
         {{17.0, Happening::tap, scanSpace}, {19.0, Happening::tap, scanEscape}},
         Replayed::partly,
         true,
         {}},
        {"a key at nine seconds puts it off",
         {{9.0, Happening::tap, otherKey}, {24.5, Happening::tap, scanEscape}},
         Replayed::not_at_all,
         false,
         {}},
        {"another key on the idle table goes back to the title",
         {{12.0, Happening::tap, otherKey}, {21.5, Happening::tap, scanEscape}},
         Replayed::not_at_all,
         false,
         {},
         12.5,
         21.5},
        {"another key during it goes back to the title",
         {{17.0, Happening::tap, otherKey}, {21.0, Happening::tap, scanEscape}},
         Replayed::partly,
         false,
         {}},
        {"after another key, the next idle spell replays it again",
         {{17.0, Happening::tap, otherKey}, {40.0, Happening::tap, scanEscape}},
         Replayed::wholly,
         false,
         {}},
        {"the whole game, then the title until the next idle spell",
         {{31.0, Happening::tap, scanEscape}},
         Replayed::wholly,
         false,
         {},
         20.5,
         29.5},
        {"none while the window is out of view, and the title waits",
         {{5.0, Happening::focusLost}, {14.0, Happening::termination}},
         Replayed::not_at_all,
         false,
         {},
         5.5,
         14.0},
        {"the focus lost during it ends it and the title waits",
         {{17.0, Happening::focusLost}, {22.0, Happening::focusGained}, {26.0, Happening::tap, scanEscape}},
         Replayed::partly,
         false,
         {},
         17.5,
         22.0},
    };
    for (const TitleCase& c : cases) check(c);
}

TEST_F(TitleReplay, EscapeMAndCTappedDuringItActAsOnTheTitle) {
    const TitleCase cases[] = {
        {"Escape quits", {{17.0, Happening::tap, scanEscape}}, Replayed::partly, false, {}},
        {"Escape on the idle table quits", {{12.0, Happening::tap, scanEscape}}, Replayed::not_at_all, false, {}},
        {"M turns sound off and the replay goes on",
         {{17.0, Happening::tap, scanM}, {26.0, Happening::tap, scanEscape}},
         Replayed::wholly,
         false,
         {"sound=off"}},
        {"C switches the palette and the replay goes on",
         {{17.0, Happening::tap, scanC}, {26.0, Happening::tap, scanEscape}},
         Replayed::wholly,
         false,
         {"palette=contrast"}},
    };
    for (const TitleCase& c : cases) check(c);
}

class BestGameFile : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        char pattern[] = "/tmp/tubewyrm-best-game-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        path = top + "/tubewyrm/best-game";
        fs::create_directories(top + "/tubewyrm");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(top, ignored);
    }
    std::string top;
    std::string path;
};

// What a recorded game's bytes turn into once written, read and decoded.
TEST_F(BestGameFile, SavedThenLoadedGivesBackTheSameRecording) {
    Recording r;
    r.carried.playTime = 1.5;
    r.carried.nextTrailStep = 1.52;
    r.carried.lastPollPosition = {10.25f, -3.5f, 0.0f};
    r.carried.reversalPulse = 0.1f;
    r.carried.movingHorizontally = false;
    r.carried.movingVertically = true;
    r.carried.boardWidth = 640;
    r.carried.boardHeight = 320;
    r.frameTimes = {0.0, 0.0166, 0.05, 0.02};
    r.arrows = {0, arrowUp | arrowLeft, 15};
    r.randoms = {0.0, 0.999999, 0.25};
    r.checkpoints = {{2, 6, 300.5f, 128.0f}, {4, 6, 1.0f, 240.25f}};
    std::vector<std::uint8_t> bytes;
    encodeRecording(r, bytes);
    // Kept the way a game over keeps it: beside a best score it beats.
    ASSERT_EQ(keepBestScore(top + "/tubewyrm/best-score", recordedScore(r), bytes), recordedScore(r));
    std::vector<std::uint8_t> read;
    ASSERT_TRUE(readBestGameFile(path, read, largestBestGameBytes));
    Recording back;
    std::string problem;
    ASSERT_TRUE(decodeRecording(read, back, problem)) << problem;
    EXPECT_EQ(back, r);
}

TEST_F(BestGameFile, EachKindOfBadFileGivesOneLineAndNoReplayAndStaysWhereItIs) {
    const std::vector<std::uint8_t> good = keptGameBytes("reversal_after_meal");
    Recording decoded;
    std::string decodeProblem;
    ASSERT_TRUE(decodeRecording(good, decoded, decodeProblem)) << decodeProblem;
    const int bestScore = recordedScore(decoded);
    auto spoiled = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> b = good;
        b[at] = value;
        return b;
    };
    // The recording changed, with its checksum made good.
    auto changed = [&](const std::function<void(Recording&)>& change) {
        Recording r = decoded;
        change(r);
        std::vector<std::uint8_t> b;
        encodeRecording(r, b);
        return b;
    };
    auto writeBytes = [&](const std::vector<std::uint8_t>& b) {
        return [this, b] {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        };
    };
    struct Case {
        const char* kind;
        std::function<void()> make;
        const char* reason;  // empty: no line at all
    };
    const std::vector<Case> cases = {
        {"missing", [] {}, ""},
        {"truncated", writeBytes({good.begin(), good.end() - 5}), "truncated"},
        {"wrong magic", writeBytes(spoiled(0, 'X')), "wrong magic"},
        {"wrong version", writeBytes(spoiled(8, 2)), "format version 2"},
        {"bad checksum", writeBytes(spoiled(good.size() - 20, good[good.size() - 20] ^ 0x40)), "bad checksum"},
        {"a time step just above the cap",
         writeBytes(changed([](Recording& r) { r.frameTimes[100] = std::nextafter(longestFrameTime, 1.0); })),
         "a time step is not within [0, 0.05]"},
        {"too large", [this] { fs::resize_file((std::ofstream(path).close(), path), largestBestGameBytes + 1); },
         "larger than 64 MiB"},
        {"a folder", [this] { fs::create_directory(path); }, "not a plain file"},
        {"a FIFO", [this] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a plain file"},
        {"a device", [this] { fs::create_symlink("/dev/null", path); }, "not a plain file"},
        {"unreadable (a loop of links)", [this] { fs::create_symlink(path, path); }, "symbolic links"},
        {"refused by the check", writeBytes(changed([](Recording& r) { r.checkpoints[0].headX += 1.0f; })),
         "misses checkpoint 1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        c.make();
        scripted().errorLines.clear();
        // The platform's read of the file, then the game's decoding and check.
        std::vector<std::uint8_t> bytes;
        ::testing::internal::CaptureStderr();
        const bool read = readBestGameFile(path, bytes, largestBestGameBytes);
        std::string lines = ::testing::internal::GetCapturedStderr();
        Program run;
        run.play.bestScore = bestScore;
        if (read) {
            resetScriptedPlatform();
            addKeptGame(bestScore, bytes, path);
            loadKeptGames(run);
            EXPECT_FALSE(checkKeptGame(run, 0));
            for (const std::string& line : scripted().errorLines) lines += line + "\n";
        }
        EXPECT_EQ(run.play.bestScore, bestScore);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), c.reason[0] ? 1 : 0) << lines;
        if (c.reason[0]) {
            EXPECT_NE(lines.find(c.reason), std::string::npos) << lines;
            // The platform names the file; the game's own complaints go through it.
            if (!read) {
                EXPECT_NE(lines.find(path), std::string::npos) << lines;
            }
            EXPECT_TRUE(fs::symlink_status(path).type() != fs::file_type::not_found) << "the file is left alone";
        }
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
}

TEST(KeptBestGame, AGoodRecordingIsReplayedOnlyInTheRowOfTheScoreItMade) {
    const std::vector<std::uint8_t> bytes = keptGameBytes("reversal_after_meal");
    Recording recording;
    std::string problem;
    ASSERT_TRUE(decodeRecording(bytes, recording, problem)) << problem;
    const int made = recordedScore(recording);
    const struct {
        const char* kept;
        int score;
        bool withRecording;
        bool replayed;
    } cases[] = {
        {"its own score", made, true, true},
        {"a higher score", made + 1, true, false},
        {"a lower score", made - 1, true, false},
        {"its own score without the recording", made, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kept);
        resetScriptedPlatform();
        addKeptGame(c.score, c.withRecording ? bytes : std::vector<std::uint8_t>{}, "kept");
        // The idle cycle's replay would start at 16 s.
        scriptTap(18.0, scanEscape);
        Program program;
        loadKeptGames(program);
        runSession(program);
        EXPECT_EQ(program.replay.input.frames > 0, c.replayed);
    }
}

}  // namespace

// The games recorded by version 1.1.0 replay through today's rules to the
// same end: the dense test of the rules.
namespace kept_games {

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

}  // namespace kept_games

// What a game takes over from the one before goes whole into its recording,
// and a replay starts from all of it.
namespace carried_over {

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

}  // namespace carried_over

// Start-up reads the table of best games but leaves running a recording
// through the rules to the moment its replay is first due, so a long one
// never delays the title.
namespace best_game_check {

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

}  // namespace best_game_check
