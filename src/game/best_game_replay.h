#pragma once

struct Program;

// The title waits this long without a key before it replays the best game.
inline constexpr double replayIdleSeconds = 10.0;

// Reads the kept best game and runs it through the rules without drawing;
// only a recording that follows them to its death and carries the kept best
// score is offered. Anything wrong costs one line on standard error. Without
// checkNow the run through the rules waits until the replay is first due, so
// a long best game never delays the first title.
void loadBestGameForReplay(Program& program, bool checkNow = true);

// The game that just ended is the kept best: it becomes the one replayed.
void adoptBestGame(Program& program);

// True when the title, idle for idleSeconds, should replay the best game now;
// a recording not yet checked is checked here, the first time.
bool replayDue(Program& program, double idleSeconds);

// Where a replay stands against the clock.
struct ReplayClock {
    double start = 0.0;     // clock reading at its first frame
    double replayed = 0.0;  // recorded game time run so far
};

// The best game from its start, in program.replay, apart from the run's own
// game; the recording moves there until endReplay puts it back.
void startReplay(Program& program, ReplayClock& clock);
enum class ReplayStep { presented, waited, ended };
// Runs every recorded frame due by now at the pace the game was played and
// presents the last of them, or, with none due, waits for events until one
// is; either way the keys are new. Ended once the game has.
ReplayStep runReplayStep(Program& program, ReplayClock& clock);
void endReplay(Program& program);
// The replayed game's frame into the back buffer, as the replay shows it.
void drawReplayFrame(const Program& program);
