#pragma once
#include <cstddef>

struct Program;

// The title waits this long without a key before its idle cycle shows the
// best games, and the table stands this long before one of them is replayed.
inline constexpr double replayIdleSeconds = 10.0;
inline constexpr double idleTableSeconds = 6.0;

// Reads the player's best games, at start-up and after each game. Only the
// table: a recording is read and run through the rules when first wanted, so
// a long one never delays the title. A row kept as before keeps its check.
void loadKeptGames(Program& program);

// True when the row's game can be watched: its recording follows the rules to
// its death and carries the row's score. The first call reads and checks it;
// anything wrong costs one line on standard error and the row's watch.
bool checkKeptGame(Program& program, std::size_t row);

// The row the idle cycle replays now, the best first and then the others in
// turn, checking each as it comes; -1 when none can be watched.
int takeIdleReplay(Program& program);

struct Recording;

// Why a game is replayed: the title's idle cycle, chosen on the Best games
// screen, named on the command line, or timed as fast as it can be drawn.
enum class ReplayKind { idle, watched, named, timed };

// Where a replay stands against the clock, and whose recording it shows.
struct ReplayClock {
    double start = 0.0;     // clock reading at its first frame
    double replayed = 0.0;  // recorded game time run so far
    Recording* lent = nullptr;
    ReplayKind kind = ReplayKind::idle;
};

// A checked recording (a kept game's) from its start, in program.replay,
// apart from the run's own game; it moves there until endReplay gives it back.
void startReplay(Program& program, Recording& recording, bool watched, ReplayClock& clock);
enum class ReplayStep { presented, waited, ended };
// Runs every recorded frame due by now at the pace the game was played and
// presents the last of them, or, with none due, waits for events until one
// is; either way the keys are new. Ended once the game has.
ReplayStep runReplayStep(Program& program, ReplayClock& clock);
void endReplay(Program& program, const ReplayClock& clock);
// The replayed game's frame into the back buffer, as the replay shows it.
void drawReplayFrame(const Program& program, const ReplayClock& clock);
