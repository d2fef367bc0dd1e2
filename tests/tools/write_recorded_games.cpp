// Plays the games kept in tests/data through the rules, from scripted keys,
// time steps and random numbers, and writes each as a recording with its
// expected end (score, frames, a hash of the snake). Run once, by the code of
// version 1.1.0; the files it wrote are the proof that later code replays old
// recordings, so they are never written again.
// Usage: write_recorded_games DIR
//        write_recorded_games --long FILE   (the 30-minute game kept as thirty_minutes)
//        write_recorded_games --rounding-edge FILE   (kept as rounding_edge)
//        write_recorded_games --sine-edge FILE   (kept as sine_edge)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "rules/food_rules.h"
#include "rules/frame_rules.h"
#include "rules/recorded_input.h"
#include "rules/recording_file.h"
#include "rules/snake_rules.h"
#include "support/recorded_games.h"
#include "support/scripted_platform.h"

namespace {

// What the player holds in a frame, given the frame number (from 1) and the state.
using Pilot = std::function<std::set<int>(int frame, const PlayState& play)>;
// The time step of a frame, given its number.
using Steps = std::function<double(int frame)>;

// Numbers for the next food, given the state before a frame; empty to leave
// the queue as it is.
using Feeder = std::function<std::vector<double>(const PlayState& play)>;

struct Game {
    const char* name;
    PlayState carried;  // what the game before left
    std::vector<double> randoms;
    Steps steps;
    Pilot pilot;
    int mostFrames;
    double seed = 5489.0;  // of the random numbers after the queued ones
    Feeder feeder = nullptr;
};

// Plays one game as the play loop does, without drawing: time step, rules and
// the reversal pulse. Returns the frames run.
int play(Program& program, const Game& game) {
    resetScriptedPlatform();
    scripted().randoms.assign(game.randoms.begin(), game.randoms.end());
    seedRandom(game.seed);
    PlayState& p = program.play;
    carriedOver(p) = carriedOver(game.carried);
    startGame(program);
    std::set<int> held;
    for (int frame = 1; frame <= game.mostFrames; ++frame) {
        const std::set<int> wanted = game.pilot(frame, p);
        for (int key : held)
            if (wanted.count(key) == 0) scriptAt(scriptTime(), Happening::keyUp, key);
        for (int key : wanted)
            if (held.count(key) == 0) scriptAt(scriptTime(), Happening::keyDown, key);
        held = wanted;
        if (game.feeder) {
            const std::vector<double> next = game.feeder(p);
            scripted().randoms.assign(next.begin(), next.end());
        }
        present();
        p.frameTime = game.steps(frame);
        noteFrameTime(p.input, p.frameTime);
        p.playTime += p.frameTime;
        if (!advancePlayFrame(p)) return frame;
    }
    return -1;
}

// Plays one game, writes its recording to path and prints its line of
// recorded_games.txt (named after the file).
int writeGame(const Game& game, const std::string& path) {
    Program program;
    const int frames = play(program, game);
    if (frames < 0) {
        static_cast<void>(std::fprintf(stderr, "%s: the game did not end\n", game.name));
        return 1;
    }
    std::vector<std::uint8_t> bytes;
    encodeRecording(program.play.input.recording, bytes);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::string file = path.substr(path.find_last_of('/') + 1);
    std::printf("%s %d %d %016llx\n", file.substr(0, file.find('.')).c_str(), upperIndex(program.play.snake), frames,
                static_cast<unsigned long long>(snakeHash(program.play.snake)));
    std::printf("%zu bytes, %zu meals, head (%g, %g)\n", bytes.size(),
                program.play.input.recording.checkpoints.size() - 1, program.play.snake[0].x, program.play.snake[0].y);
    return 0;
}

double sixtieth(int) { return 1.0 / 60.0; }

// Uneven frames, some at the 0.05 s cap, the same every run.
double uneven(int frame) {
    const std::uint32_t h = static_cast<std::uint32_t>(frame) * 2654435761u;
    const int kind = static_cast<int>(h >> 28);
    if (kind == 0) return 0.05;
    return 0.006 + static_cast<double>((h >> 8) & 0xffff) / 65536.0 * 0.03;
}

std::set<int> holdFrom(int frame, int from, int key) { return frame >= from ? std::set<int>{key} : std::set<int>{}; }

// True when a body segment lies within `reach` pixels ahead of the head in
// the direction of the key, close to its line.
bool bodyAhead(const PlayState& p, int key, float reach) {
    const float ux = key == scanRight ? 1.0f : key == scanLeft ? -1.0f : 0.0f;
    const float uy = key == scanUp ? 1.0f : key == scanDown ? -1.0f : 0.0f;
    const Segment& head = p.snake[0];
    for (std::size_t i = 3; i < p.snake.size(); ++i) {
        float rx = p.snake[i].x - head.x;
        if (rx > 256.0f) rx -= 512.0f;
        if (rx < -256.0f) rx += 512.0f;
        const float ry = p.snake[i].y - head.y;
        const float along = rx * ux + ry * uy;
        const float across = std::fabs(rx * uy - ry * ux);
        if (along > 0.0f && along < reach && across < 7.0f) return true;
    }
    return false;
}

// Steers toward the food along an L, never back on itself; every fifth meal
// it turns the snake round once it has grown into its new length. After
// `until` seconds of play it goes up into the stone row.
Pilot foodSeeker(double until) {
    auto meals = std::make_shared<int>(0);
    auto lastLength = std::make_shared<std::size_t>(0);
    auto reverseAt = std::make_shared<int>(-1);
    auto wasHorizontal = std::make_shared<bool>(true);
    auto legStart = std::make_shared<Vec3f>();
    return [=](int frame, const PlayState& p) -> std::set<int> {
        if (p.playTime > until) return {p.movingVertically && p.heading.y < 0 ? scanLeft : scanUp};
        if (p.snake.size() != *lastLength) {
            if (*lastLength != 0 && ++*meals % 5 == 0) *reverseAt = frame + 40;
            *lastLength = p.snake.size();
        }
        if (frame == *reverseAt) {
            if (p.movingHorizontally) return {p.heading.x > 0 ? scanLeft : scanRight};
            return {p.heading.y > 0 ? scanDown : scanUp};
        }
        const Segment& head = p.snake[0];
        // Creeping sideways after a turn round: set off properly, toward the food.
        const bool creeping = std::fabs(p.heading.x) != 2.0f && std::fabs(p.heading.y) != 2.0f;
        float dx = p.food.x - head.x;
        if (dx > 256.0f) dx -= 512.0f;
        if (dx < -256.0f) dx += 512.0f;
        const float dy = p.food.y - head.y;
        if (creeping) {
            if (p.movingVertically) return {dx > 0 ? scanRight : scanLeft};
            return {dy > 0 ? scanUp : scanDown};
        }
        // Turn when level with the food or past it (frames may be 5 pixels
        // long), but not before 20 pixels of the last leg: a shorter one
        // would bring the head back onto its own body.
        if (p.movingHorizontally != *wasHorizontal) {
            *wasHorizontal = p.movingHorizontally;
            *legStart = {head.x, head.y, 0.0f};
        }
        const float leg = std::fabs(head.x - legStart->x) + std::fabs(head.y - legStart->y);
        if (leg < 20.0f) return {};
        const int ahead = p.movingHorizontally ? (p.heading.x > 0 ? scanRight : scanLeft)
                                               : (p.heading.y > 0 ? scanUp : scanDown);
        int want = 0;
        if (p.movingHorizontally) {
            if (std::fabs(dx) < 6.0f || (dx > 0) != (p.heading.x > 0)) want = dy > 0 ? scanUp : scanDown;
        } else if (std::fabs(dy) < 6.0f || (dy > 0) != (p.heading.y > 0)) {
            want = dx > 0 ? scanRight : scanLeft;
        }
        // Keep off the body: a blocked turn takes the other side, and a body
        // close ahead forces a turn to whichever side is clear.
        const int sides[2] = {p.movingHorizontally ? scanUp : scanRight, p.movingHorizontally ? scanDown : scanLeft};
        if (want != 0 && bodyAhead(p, want, 40.0f)) want = 0;
        if (want == 0 && bodyAhead(p, ahead, 14.0f))
            for (int side : sides)
                if (!bodyAhead(p, side, 40.0f)) want = side;
        if (want == 0) return {};
        return {want};
    };
}

// The cruise of the long game: every 6 seconds of play a reversal, a turn up
// or down (toward the middle row), a reversal of that and a turn right, which
// carries the snake round the drum every few periods. Each key is chosen when
// the period starts and held 0.1 s: a few polls, all before the freeze of a
// reversal ends (a key pressed during the freeze would still count after it),
// and each manoeuvre starts well after the last freeze.
Pilot cruisePilot() {
    auto firstReversal = std::make_shared<int>(scanLeft);
    auto up = std::make_shared<bool>(true);
    return [=](int, const PlayState& p) -> std::set<int> {
        const double t = std::fmod(p.playTime, 6.0);
        if (t < 1.5) {
            *firstReversal = p.heading.x > 0 ? scanLeft : scanRight;
            *up = p.snake[0].y < 128.0f;
        }
        if (t >= 1.5 && t < 1.6) return {*firstReversal};
        if (t >= 3.0 && t < 3.1) return {*up ? scanUp : scanDown};
        if (t >= 3.6 && t < 3.7) return {*up ? scanDown : scanUp};
        if (t >= 4.6 && t < 4.7) return {scanRight};
        return {};
    };
}

}  // namespace

// Thirty minutes near the middle row with two segments, uneven frames, 600
// reversals, 600 turns and 150 wraps; then down onto a food at (300, 40) and
// a meal every frame or two along the row below, up to a score of 794, until
// the grown body is run into: a long best game for timing start-up, and for
// the replays of every build (kept in tests/data as thirty_minutes).
int writeLongGame(const std::string& path) {
    constexpr double cruise = 1800.0;
    Game game{"long",
              PlayState{},
              {300.0 / 488.0, (40.0 - 24.0) / 208.0, 0.0},
              uneven,
              [cruising = cruisePilot()](int frame, const PlayState& p) -> std::set<int> {
                  if (p.playTime < cruise) return cruising(frame, p);
                  if (p.movingHorizontally && p.snake[0].y > 47.0f)
                      return p.snake[0].x >= 298.0f && p.snake[0].x < 304.0f ? std::set<int>{scanDown}
                                                                             : std::set<int>{};
                  if (p.movingVertically && p.snake[0].y < 47.0f) return {scanRight};
                  return {};
              },
              200000};
    game.feeder = [](const PlayState& p) -> std::vector<double> {
        // A 1 off the rows the snake uses.
        if (p.playTime < cruise || upperIndex(p.snake) >= 1000) return {100.0 / 488.0, (220.0 - 24.0) / 208.0, 0.0};
        // A 9 just ahead of the head, eaten in the next frame.
        const double x = std::fmod(
            p.snake[0].x + 10.0 * std::copysign(1.0, p.heading.x) * (p.movingHorizontally ? 1 : 0) + 512.0, 512.0);
        const double y = p.snake[0].y + (p.movingVertically ? 10.0 * std::copysign(1.0, p.heading.y) : 0.0);
        return {std::min(x, 487.0) / 488.0, (std::clamp(y, 24.0, 231.0) - 24.0) / 208.0, 0.95};
    };
    return writeGame(game, path);
}

// A time step that moves the head from x = 256 at heading 2 to a hair past
// 257 + 2^-16, the midpoint between two floats: rounded after the multiply and
// again after the add, the sum is the midpoint itself and the head stops at
// 257; fused into one multiply-add it stays past it, 257.000031. Found by
// searching the doubles near 0.01.
constexpr double roundingEdgeStep = 0x1.47af5c28f5ccdp-7;

// The short game with that step first: a build that fuses the head's motion
// ends it 2^-15 further right.
int writeRoundingEdgeGame(const std::string& path) {
    const Game game{"rounding_edge",
                    PlayState{},
                    {},
                    [](int frame) { return frame == 1 ? roundingEdgeStep : 1.0 / 60.0; },
                    [](int f, const PlayState&) { return holdFrom(f, 40, scanUp); },
                    1000};
    return writeGame(game, path);
}

// A last time step that brings playTime to where sin(20 × playTime) × 0.5 lies
// a hair from the midpoint between two floats: the C library's sin rounds the
// wiggle to one float on a processor with fused multiply-add and to the other
// on one without. Found by searching the steps near the short game's last.
constexpr double sineEdgeLastStep = 0x1.10e5c14a3f6p-6;

// The short game dying in a frame of that step: the head's dx, the wiggle,
// differs by a float's last bit where the sine does.
int writeSineEdgeGame(const std::string& path) {
    const Game game{"sine_edge",
                    PlayState{},
                    {},
                    [](int frame) { return frame == 105 ? sineEdgeLastStep : 1.0 / 60.0; },
                    // Up let go after the turn: a poll with it held sets the heading whole.
                    [](int f, const PlayState&) { return f < 45 ? holdFrom(f, 40, scanUp) : std::set<int>{}; },
                    1000};
    return writeGame(game, path);
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--long") return writeLongGame(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--rounding-edge") return writeRoundingEdgeGame(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--sine-edge") return writeSineEdgeGame(argv[2]);
    if (argc != 2) {
        static_cast<void>(std::fputs(
            "usage: write_recorded_games DIR | --long FILE | --rounding-edge FILE | --sine-edge FILE\n", stderr));
        return 2;
    }
    const std::string dir = argv[1];
    PlayState fresh;
    PlayState afterReversal;  // a game that ended in the freeze of a reversal, moving up
    afterReversal.playTime = 41.234;
    afterReversal.nextTrailStep = 41.25;
    afterReversal.lastPollPosition = {130.5f, 237.2f, 0.0f};
    afterReversal.reversalPulse = 12.5f;
    afterReversal.movingHorizontally = true;
    afterReversal.movingVertically = false;
    PlayState later = fresh;
    later.playTime = 7.77;
    later.nextTrailStep = 7.8;
    later.lastPollPosition = {400.2f, 20.0f, 0.0f};

    const std::vector<Game> games = {
        // Nothing eaten: Up after 40 frames into the top row.
        {"short_game", fresh, {}, sixtieth, [](int f, const PlayState&) { return holdFrom(f, 40, scanUp); }, 1000},
        // A 5 straight ahead; Left the frame after eating turns the snake
        // round while the new segments still wait off the board; later, down
        // into the bottom row.
        {"reversal_after_meal",
         afterReversal,
         {300.0 / 488.0, 104.0 / 208.0, 0.5},
         sixtieth,
         [ate = std::make_shared<int>(0)](int f, const PlayState& p) -> std::set<int> {
             if (p.snake.size() > 2 && *ate == 0) *ate = f;
             if (*ate == 0) return {};
             if (f < *ate + 3) return {scanLeft};
             return holdFrom(f, *ate + 120, scanDown);
         },
         1000},
        // Right across the seam, up, left across it twice, then down into the bottom row; uneven frames.
        {"wraps_both_ways",
         later,
         {},
         uneven,
         [](int, const PlayState& p) -> std::set<int> {
             const double t = p.playTime - 7.77;
             if (t < 3.5) return {};
             if (t < 3.8) return {scanUp};
             if (t < 13.0) return {scanLeft};
             return {scanDown};
         },
         100000},
        // After food with turns round, uneven frames, until it runs into its
        // body (seed 38 gave the longest game of seeds 1 to 60).
        {"long_snake", later, {}, uneven, foodSeeker(7.77 + 180.0), 100000, 38.0},
    };

    std::ofstream expected(dir + "/recorded_games.txt");
    expected << "# name score frames snake-hash: what each recording replays to\n";
    for (const Game& game : games) {
        Program program;
        const int frames = play(program, game);
        if (frames < 0) {
            static_cast<void>(std::fprintf(stderr, "%s: the game did not end\n", game.name));
            return 1;
        }
        std::vector<std::uint8_t> bytes;
        encodeRecording(program.play.input.recording, bytes);
        std::ofstream(dir + "/" + game.name + ".twrec", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        char hash[17];
        static_cast<void>(std::snprintf(hash, sizeof hash, "%016llx",
                                        static_cast<unsigned long long>(snakeHash(program.play.snake))));
        expected << game.name << ' ' << upperIndex(program.play.snake) << ' ' << frames << ' ' << hash << '\n';
        std::printf("%s: score %d, %d frames, %zu bytes, head (%g, %g)\n", game.name, upperIndex(program.play.snake),
                    frames, bytes.size(), program.play.snake[0].x, program.play.snake[0].y);
    }
    return 0;
}
