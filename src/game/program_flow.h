#pragma once

struct Program;
struct Recording;

void startUp(Program& program);
// One title screen into the back buffer; the previous score is the upper
// index of the snake the last game ended with.
void drawTitleFrame(const Program& program);
// The still picture of a paused game into the back buffer.
void drawPausedFrame(const Program& program);
void startGame(Program& program);

// Every screen (title, play, pause, the best game's replay) in one loop until
// Escape or a termination signal; the result is the exit status. With
// firstReplay (checked through the rules), the session opens with its replay
// and shows the title after it; it comes back unchanged.
int runSession(Program& program, Recording* firstReplay = nullptr);
