#pragma once

struct Program;

enum class ReplayOutcome { finished, backToTitle, startGame, quit };

// The title waits this long without a key before it replays the best game.
inline constexpr double replayIdleSeconds = 10.0;

// Reads the kept best game and runs it through the rules without drawing;
// only a recording that follows them to its death and carries the kept best
// score is offered. Anything wrong costs one line on standard error.
void loadBestGameForReplay(Program& program);

// The game that just ended is the kept best: it becomes the one replayed.
void adoptBestGame(Program& program);

// True when the title, idle for idleSeconds, should replay the best game now.
bool replayDue(const Program& program, double idleSeconds);

// The best game on the drum at the pace it was played, until its death or a
// key. The run's own game state is left as it was.
ReplayOutcome runReplay(Program& program);
