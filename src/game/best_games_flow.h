#pragma once
#include <string>

#include "game/key_latch.h"
#include "platform/platform.h"

struct Program;

// The player's place on the "Best games" screen: the chosen row and the line
// under the table, with the screen's own once-per-press keys.
struct BestGamesChoice {
    int row = 0;
    std::string note;  // where the last export went
    KeyLatch up{scanUp};
    KeyLatch down{scanDown};
    KeyLatch space{scanSpace};
    KeyLatch enter{scanEnter};
    KeyLatch exportKey{scanE};
    KeyLatch back{scanEscape};
};

// Keys held as the screen comes up (the B that opened it, the Escape or
// Space that ended a watch) do not act on it.
void holdOverBestGamesKeys(BestGamesChoice& choice);

enum class BestGamesAction { none, changed, watch, back };
// The screen's keys, read once a turn: the arrows move the choice and stop at
// the ends, Space or Enter asks to watch a row that can be watched (checking
// it the first time), E saves the chosen game's recording in the home folder
// and says where, Escape goes back.
BestGamesAction readBestGamesKeys(Program& program, BestGamesChoice& choice);

// The screen into the back buffer: chosen by the player, with its keys, or,
// when row is the idle cycle's next replay, with the title's Space line.
void drawBestGamesFrame(const Program& program, int row, bool byPlayer, const std::string& note);
