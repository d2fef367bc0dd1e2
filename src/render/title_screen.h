#pragma once
#include <string_view>

struct Font;

// One title frame into the back buffer; previousScore is shown once a game
// has been played, bestScore whenever it is not negative, a reminder of M
// while the player has turned sound off, that there is no sound output
// while sound is wanted and none opened, and, under them all, B for the best
// games once there are any.
void drawTitleScreen(const Font& font, bool gamePlayed, int previousScore, int bestScore = -1,
                     bool soundTurnedOff = false, bool noSoundOutput = false, bool bestGamesKept = false);

// Over a replay of a kept game: what a key does there, such as the title's
// "Press Space to play...".
void drawReplayPrompt(const Font& font, std::string_view text);
