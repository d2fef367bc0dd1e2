#pragma once

struct Font;

// "Paused" in white at the middle of the window, over whatever is drawn.
void drawPausedLine(const Font& font);
