#pragma once

struct Program;

void startUp(Program& program);
// One title screen into the back buffer; the previous score is the upper
// index of the snake the last game ended with.
void drawTitleFrame(const Program& program);
// The still picture of a paused game into the back buffer.
void drawPausedFrame(const Program& program);
void startGame(Program& program);

// Every screen (title, play, pause, the best game's replay) in one loop until
// Escape or a termination signal; the result is the exit status.
int runSession(Program& program);
