// Replays every game kept in tests/data through the rules this program was
// built with, and prints one line per game: "ok", or how its end differs from
// the one recorded. scripts/replay_matrix.sh builds it with each compiler,
// optimisation and processor a recording may travel between. Exits 1 unless
// every game in the table replays to its recorded end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "rules/frame_rules.h"
#include "rules/recording_check.h"
#include "state/play_state.h"
#include "support/recorded_games.h"

// A replay takes keys and random numbers from its recording only; reaching
// the platform would mean the replay runs live.
bool keyDown(int) {
    static_cast<void>(std::fputs("replay_check: a replay read the keyboard\n", stderr));
    std::abort();
}
double nextRandom() {
    static_cast<void>(std::fputs("replay_check: a replay drew a live random number\n", stderr));
    std::abort();
}

namespace {

std::string hex(std::uint64_t value) {
    char text[17];
    static_cast<void>(std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value)));
    return text;
}

// " what GOT (recorded WANT)", or nothing when the two agree.
std::string against(const char* what, const std::string& got, const std::string& want) {
    return got == want ? "" : std::string(" ") + what + " " + got + " (recorded " + want + ")";
}

// Empty when the game replays to the score, frames and snake of the table.
std::string differenceFrom(const KeptGame& game) {
    Recording recording;
    std::string problem;
    if (!loadKeptRecording(game.name, recording, problem)) return problem;
    if (!checkRecording(recording, problem)) return "the check refuses it: " + problem;
    PlayState play;
    startReplay(play, recording);
    int frames = 0;
    for (bool alive = true; alive;) {
        ++frames;
        alive = runReplayedFrame(play);
    }
    std::string difference = play.input.problem;
    difference += against("frames", std::to_string(frames), std::to_string(game.frames));
    difference += against("score", std::to_string(upperIndex(play.snake)), std::to_string(game.score));
    difference += against("snake", hex(snakeHash(play.snake)), hex(game.snakeHash));
    return difference.starts_with(' ') ? difference.substr(1) : difference;
}

}  // namespace

int main() {
    const std::vector<KeptGame> games = keptGames();
    int checked = 0;
    for (const KeptGame& game : games) {
        const std::string difference = differenceFrom(game);
        std::printf("%s: %s\n", game.name.c_str(), difference.empty() ? "ok" : difference.c_str());
        if (difference.empty()) ++checked;
    }
    std::printf("%d of %zu recordings check (table in %s)\n", checked, games.size(), testDataFolder().c_str());
    return !games.empty() && checked == static_cast<int>(games.size()) ? 0 : 1;
}
