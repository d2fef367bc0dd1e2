// Recording a game, keeping it, checking it and replaying it on the title,
// against the scripted platform.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/best_game_replay.h"
#include "game/program.h"
#include "game/program_flow.h"
#include "platform/best_game_file.h"
#include "platform/best_score_file.h"
#include "platform/platform.h"
#include "render/display_setup.h"
#include "rules/frame_rules.h"
#include "rules/recording_file.h"
#include "support/scripted_platform.h"

namespace fs = std::filesystem;

namespace {

constexpr double frameSeconds = 1.0 / 60.0;

// From the title, a game at 60 frames a second: right into a 5 placed at
// (300, 128), a reversal at frame 60, left into a 3 at (200, 128), then Up
// held into the top row. It starts with values carried over from an earlier
// game, a reversal pulse among them.
void playScriptedGame(Program& program) {
    scripted().clockStep = 0.0;
    scripted().presentStep = frameSeconds;
    scripted().randoms = {300.0 / 488.0, 0.5, 0.5, 254.0 / 488.0, 176.0 / 208.0, 0.3};
    auto& after = scripted().keysAfterPresent;
    after.assign(110, {});
    after[0] = {scanSpace};
    after[61] = {scanLeft};
    after.push_back({scanUp});
    returnToTitle(program);
    ASSERT_EQ(runTitleLoop(program), TitleOutcome::startGame);
    program.play.playTime = 3.21;
    program.play.nextTrailStep = 3.25;
    program.play.lastPollPosition = {256.5f, 128.5f, 0.0f};
    program.play.reversalPulse = 10.0f;
    startGame(program);
    ASSERT_EQ(runPlayLoop(program), PlayOutcome::gameOver);
}

// Runs a recording through the rules as the checker does; the frames run.
int replayToTheEnd(PlayState& shown, Recording& recording) {
    startReplay(shown, recording);
    int frames = 0;
    for (;;) {
        ++frames;
        if (!runReplayedFrame(shown)) return frames;
        advanceReversalPulse(shown);
    }
}

class RecordedGame : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        consoleChannel = openConsole();
    }
    Program program;
};

TEST_F(RecordedGame, ReplayedThroughTheRulesEndsWithTheSameSnakeFrameAndScore) {
    playScriptedGame(program);
    const int score = upperIndex(program.play.snake);
    ASSERT_GE(score, 9) << "both meals were eaten";
    ASSERT_EQ(scripted().savedBestScores, std::vector<int>{score});
    ASSERT_TRUE(scripted().bestGameExists);
    EXPECT_TRUE(program.bestGameReplayable) << "the game just kept is the one to replay";
    EXPECT_LE(scripted().bestGame.size(), 16u * static_cast<std::size_t>(scripted().presents));

    Recording recording;
    std::string problem;
    ASSERT_TRUE(decodeRecording(scripted().bestGame, recording, problem)) << problem;
    PlayState shown;
    const int frames = replayToTheEnd(shown, recording);
    EXPECT_EQ(shown.input.problem, "");
    // Every present but the title's was a play frame; the death frame is not presented.
    EXPECT_EQ(frames, scripted().presents);
    EXPECT_EQ(upperIndex(shown.snake), score);
    ASSERT_EQ(shown.snake.size(), program.play.snake.size());
    EXPECT_EQ(std::memcmp(shown.snake.data(), program.play.snake.data(), shown.snake.size() * sizeof(Segment)), 0);
    EXPECT_EQ(shown.headAngle, 90);

    // The next run reads it back, checks it and offers it.
    Program nextRun;
    nextRun.play.bestScore = score;
    loadBestGameForReplay(nextRun);
    EXPECT_TRUE(nextRun.bestGameReplayable);
    EXPECT_TRUE(scripted().errorLines.empty());
}

TEST_F(RecordedGame, AChangedRandomNumberOrTimeStepIsRefusedNamingTheFirstCheckpointMissed) {
    playScriptedGame(program);
    Recording kept;
    std::string problem;
    ASSERT_TRUE(decodeRecording(scripted().bestGame, kept, problem)) << problem;
    struct Case {
        const char* change;
        std::function<void(Recording&)> apply;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"the first food one pixel further", [](Recording& r) { r.randoms[0] += 1.0 / 488.0; }, "misses checkpoint 1 "},
        {"the second food's value", [](Recording& r) { r.randoms[5] = 0.9; }, "misses checkpoint 2 "},
        {"a time step before the first meal", [](Recording& r) { r.frameTimes[30] = 0.02; }, "misses checkpoint 1 "},
        {"a time step after the first meal", [](Recording& r) { r.frameTimes[50] = 0.0; }, "misses checkpoint 2 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        Recording changed = kept;
        c.apply(changed);
        encodeRecording(changed, scripted().bestGame);
        scripted().errorLines.clear();
        Program nextRun;
        nextRun.play.bestScore = program.play.bestScore;
        loadBestGameForReplay(nextRun);
        EXPECT_FALSE(nextRun.bestGameReplayable);
        ASSERT_EQ(scripted().errorLines.size(), 1u);
        EXPECT_NE(scripted().errorLines[0].find(c.line), std::string::npos) << scripted().errorLines[0];
    }
}

// The title with a kept best game; keys from present 0 on.
class TitleReplay : public RecordedGame {
protected:
    void SetUp() override {
        RecordedGame::SetUp();
        playScriptedGame(program);
        totalFrames = scripted().presents;
        scripted().keysAfterPresent.clear();
        scripted().presents = 0;
        scripted().presentStep = 0.25;
        // Paced by the display, the title after a game presents without
        // waiting in between: every frame is one present, 0.25 s apart.
        scripted().pacedByRefresh = true;
    }
    // Keys at the given presents, nothing at the others.
    static void keysAt(std::vector<std::pair<int, std::set<int>>> keys) {
        auto& after = scripted().keysAfterPresent;
        after.assign(static_cast<std::size_t>(keys.back().first) + 1, {});
        for (auto& [present, held] : keys) after[static_cast<std::size_t>(present)] = held;
    }
    int totalFrames = 0;
};

TEST_F(TitleReplay, StartsAfterTenIdleSecondsAndAKeyDuringItDecides) {
    constexpr int otherKey = 30;
    // Title presents are 0.25 s apart: the replay starts after present 40.
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::set<int>>> keys;
        bool inView;
        TitleOutcome outcome;
        bool replayed;
    };
    const std::vector<Case> cases = {
        {"Space before ten seconds", {{38, {scanSpace}}}, true, TitleOutcome::startGame, false},
        {"Space during the replay", {{43, {scanSpace}}}, true, TitleOutcome::startGame, true},
        {"Escape during the replay", {{43, {scanEscape}}}, true, TitleOutcome::quit, true},
        {"a key at nine seconds puts it off", {{36, {otherKey}}, {75, {scanEscape}}}, true, TitleOutcome::quit, false},
        {"another key goes back to the title", {{43, {otherKey}}, {46, {scanEscape}}}, true, TitleOutcome::quit, true},
        {"the window out of view", {{43, {scanSpace}}}, false, TitleOutcome::startGame, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scripted().presents = 0;
        scripted().inView = c.inView;
        keysAt(c.keys);
        program.replay = PlayState{};
        EXPECT_EQ(runTitleLoop(program), c.outcome);
        EXPECT_EQ(program.replay.input.frames > 0, c.replayed) << program.replay.input.frames;
        EXPECT_EQ(scripted().presents, c.keys.back().first + 1);
        EXPECT_FALSE(program.bestGame.frameTimes.empty()) << "the recording is back in its place";
    }
}

TEST_F(TitleReplay, RunsEveryRecordedFrameToItsDeathOnceAnIdleSpell) {
    // Slower than the game was played: several recorded frames a drawn one.
    const int escapeAt = 200;
    keysAt({{escapeAt, {scanEscape}}});
    EXPECT_EQ(runTitleLoop(program), TitleOutcome::quit);
    EXPECT_EQ(static_cast<int>(program.replay.input.frames), totalFrames);
    EXPECT_EQ(program.replay.input.problem, "");
    EXPECT_EQ(std::memcmp(program.replay.snake.data(), program.play.snake.data(),
                          program.play.snake.size() * sizeof(Segment)),
              0);
    EXPECT_EQ(scripted().savedBestScores.size(), 1u) << "a replay keeps nothing";
    // 40 idle title presents, then the replay draws about four a second of
    // its ~3 s; one replay only, so the title stays until the Escape.
    EXPECT_EQ(scripted().presents, escapeAt + 1);
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
    r.playTime = 1.5;
    r.nextTrailStep = 1.52;
    r.lastPollPosition = {10.25f, -3.5f, 0.0f};
    r.reversalPulse = 0.1f;
    r.movingHorizontally = false;
    r.movingVertically = true;
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
    EXPECT_EQ(back.playTime, r.playTime);
    EXPECT_EQ(back.nextTrailStep, r.nextTrailStep);
    EXPECT_EQ(back.lastPollPosition.x, r.lastPollPosition.x);
    EXPECT_EQ(back.lastPollPosition.y, r.lastPollPosition.y);
    EXPECT_EQ(back.reversalPulse, r.reversalPulse);
    EXPECT_EQ(back.movingHorizontally, r.movingHorizontally);
    EXPECT_EQ(back.movingVertically, r.movingVertically);
    EXPECT_EQ(back.frameTimes, r.frameTimes);
    EXPECT_EQ(back.arrows, r.arrows);
    EXPECT_EQ(back.randoms, r.randoms);
    ASSERT_EQ(back.checkpoints.size(), r.checkpoints.size());
    for (std::size_t i = 0; i < r.checkpoints.size(); ++i) {
        EXPECT_EQ(back.checkpoints[i].frame, r.checkpoints[i].frame);
        EXPECT_EQ(back.checkpoints[i].score, r.checkpoints[i].score);
        EXPECT_EQ(back.checkpoints[i].headX, r.checkpoints[i].headX);
        EXPECT_EQ(back.checkpoints[i].headY, r.checkpoints[i].headY);
    }
}

TEST_F(BestGameFile, EachKindOfBadFileGivesOneLineAndNoReplayAndStaysWhereItIs) {
    // A real game's bytes to spoil, kept as its best.
    {
        consoleChannel = openConsole();
        Program recorder;
        playScriptedGame(recorder);
    }
    const std::vector<std::uint8_t> good = scripted().bestGame;
    const int bestScore = scripted().bestScore;
    auto spoiled = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> b = good;
        b[at] = value;
        return b;
    };
    auto writeBytes = [&](const std::vector<std::uint8_t>& b) {
        return [this, b] {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        };
    };
    std::vector<std::uint8_t> otherRules;  // a checkpoint moved, with the checksum made good
    {
        Recording r;
        std::string problem;
        ASSERT_TRUE(decodeRecording(good, r, problem));
        r.checkpoints[0].headX += 1.0f;
        encodeRecording(r, otherRules);
    }
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
        {"too large", [this] { fs::resize_file((std::ofstream(path).close(), path), largestBestGameBytes + 1); },
         "larger than 64 MiB"},
        {"a folder", [this] { fs::create_directory(path); }, "not a plain file"},
        {"a FIFO", [this] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a plain file"},
        {"a device", [this] { fs::create_symlink("/dev/null", path); }, "not a plain file"},
        {"unreadable (a loop of links)", [this] { fs::create_symlink(path, path); }, "symbolic links"},
        {"refused by the check", writeBytes(otherRules), "misses checkpoint 1 "},
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
            scripted().bestGameExists = true;
            scripted().bestGame = bytes;
            loadBestGameForReplay(run);
            for (const std::string& line : scripted().errorLines) lines += path + " " + line + "\n";
        }
        EXPECT_FALSE(run.bestGameReplayable);
        EXPECT_EQ(run.play.bestScore, bestScore);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), c.reason[0] ? 1 : 0) << lines;
        if (c.reason[0]) {
            EXPECT_NE(lines.find(path), std::string::npos) << lines;
            EXPECT_NE(lines.find(c.reason), std::string::npos) << lines;
            EXPECT_TRUE(fs::symlink_status(path).type() != fs::file_type::not_found) << "the file is left alone";
        }
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
}

}  // namespace
