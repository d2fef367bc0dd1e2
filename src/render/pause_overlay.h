#pragma once

struct Font;

// "Paused" in white, centred a little above the middle of the window, where
// the snake's head usually is, over whatever is drawn.
void drawPausedLine(const Font& font);
