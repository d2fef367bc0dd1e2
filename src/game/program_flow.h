#pragma once

struct Program;

enum class TitleOutcome { startGame, quit };
enum class PlayOutcome { gameOver, quit };

void startUp(Program& program);
void returnToTitle(Program& program);
// One title screen into the back buffer; the previous score is the upper
// index of the snake the last game ended with.
void drawTitleFrame(const Program& program);
// The still picture of a paused game into the back buffer.
void drawPausedFrame(const Program& program);
TitleOutcome runTitleLoop(Program& program);
void startGame(Program& program);
PlayOutcome runPlayLoop(Program& program);

// Title and play loops until Escape; the result is the exit status.
int runSession(Program& program);
