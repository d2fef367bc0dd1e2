#pragma once

struct Font;

// One title frame into the back buffer; previousScore is shown once a game
// has been played, bestScore whenever it is not negative, a reminder of M
// while the player has turned sound off, and that there is no sound output
// while sound is wanted and none opened.
void drawTitleScreen(const Font& font, bool gamePlayed, int previousScore, int bestScore = -1,
                     bool soundTurnedOff = false, bool noSoundOutput = false);

// Over a replay of the best game: the title's "Press Space to play..." line.
void drawReplayPrompt(const Font& font);
