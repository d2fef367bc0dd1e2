#include "rules/recorded_input.h"

#include <bit>
#include <string>

#include "platform/platform.h"
#include "state/play_state.h"

namespace {

// Room for a few minutes of play, so that frames seldom grow the buffers.
constexpr std::size_t framesReserved = 1u << 14;
constexpr std::size_t randomsReserved = 1u << 10;
constexpr std::size_t checkpointsReserved = 1u << 8;

void fail(GameInput& input, const std::string& what) {
    if (input.problem.empty()) input.problem = what;
}

std::string describe(const Checkpoint& c) {
    return "score " + std::to_string(c.score) + " at (" + std::to_string(c.headX) + ", " + std::to_string(c.headY) +
           ") in frame " + std::to_string(c.frame);
}

bool sameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

}  // namespace

void beginRecording(PlayState& play) {
    GameInput& input = play.input;
    Recording& r = input.recording;
    input.mode = InputMode::recording;
    input.frames = 0;
    input.problem.clear();
    // clear() keeps the capacity of the last game.
    r.frameTimes.clear();
    r.arrows.clear();
    r.randoms.clear();
    r.checkpoints.clear();
    r.frameTimes.reserve(framesReserved);
    r.arrows.reserve(framesReserved);
    r.randoms.reserve(randomsReserved);
    r.checkpoints.reserve(checkpointsReserved);
    r.carried = carriedOver(play);
}

std::uint8_t readArrowKeys(GameInput& input) {
    if (input.mode == InputMode::replaying) {
        if (input.nextArrows >= input.recording.arrows.size()) {
            fail(input, "the game polls the keys more often than recorded");
            return 0;
        }
        return input.recording.arrows[input.nextArrows++];
    }
    std::uint8_t bits = 0;
    if (keyDown(scanUp)) bits |= arrowUp;
    if (keyDown(scanDown)) bits |= arrowDown;
    if (keyDown(scanRight)) bits |= arrowRight;
    if (keyDown(scanLeft)) bits |= arrowLeft;
    if (input.mode == InputMode::recording) input.recording.arrows.push_back(bits);
    return bits;
}

double drawRandom(GameInput& input) {
    if (input.mode == InputMode::replaying) {
        if (input.nextRandom >= input.recording.randoms.size()) {
            fail(input, "the food draws more random numbers than recorded");
            return 0.0;
        }
        return input.recording.randoms[input.nextRandom++];
    }
    const double r = nextRandom();
    if (input.mode == InputMode::recording) input.recording.randoms.push_back(r);
    return r;
}

void noteFrameTime(GameInput& input, double frameTime) {
    ++input.frames;
    if (input.mode == InputMode::recording) input.recording.frameTimes.push_back(frameTime);
}

bool takeFrameTime(GameInput& input, double& frameTime) {
    if (input.frames >= input.recording.frameTimes.size()) {
        fail(input, "the recording ends before the game does");
        return false;
    }
    frameTime = input.recording.frameTimes[input.frames++];
    return true;
}

void passCheckpoint(GameInput& input, int score, float headX, float headY) {
    const Checkpoint reached{input.frames, static_cast<std::uint32_t>(score), headX, headY};
    if (input.mode == InputMode::recording) input.recording.checkpoints.push_back(reached);
    if (input.mode != InputMode::replaying) return;
    const std::size_t index = input.nextCheckpoint;
    const auto& expected = input.recording.checkpoints;
    if (index >= expected.size()) {
        fail(input, "the game reaches " + describe(reached) + " after its last checkpoint");
        return;
    }
    const Checkpoint& want = expected[index];
    if (want.frame != reached.frame || want.score != reached.score || !sameBits(want.headX, reached.headX) ||
        !sameBits(want.headY, reached.headY)) {
        fail(input, "misses checkpoint " + std::to_string(index + 1) + " (" + describe(want) + "): the game reached " +
                        describe(reached));
        return;
    }
    ++input.nextCheckpoint;
}

void checkNoCheckpointSkipped(GameInput& input) {
    const std::size_t index = input.nextCheckpoint;
    const auto& expected = input.recording.checkpoints;
    if (input.mode != InputMode::replaying || index >= expected.size() || expected[index].frame > input.frames) return;
    fail(input, "misses checkpoint " + std::to_string(index + 1) + " (" + describe(expected[index]) +
                    "): the game went past it");
}
