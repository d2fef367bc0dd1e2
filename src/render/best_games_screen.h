#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/platform.h"

struct Font;

// What the "Best games" screen shows.
struct BestGamesPicture {
    const BestGames* games = nullptr;
    // Rows whose recording is missing or no longer follows the rules: dimmed.
    std::array<bool, bestGamesKept> unwatchable{};
    int chosen = -1;        // the marked row; -1 for none
    bool byPlayer = true;   // opened with B: its keys below; else the idle cycle's, with the title's Space line
    std::string_view note;  // one line under the table, as where an export went
};

// The screen into the back buffer, in the title's font and colours.
void drawBestGamesScreen(const Font& font, const BestGamesPicture& picture);

// The column heads, and one row under them: rank, score, the local date and
// time the game ended, its length in minutes and seconds.
inline constexpr std::string_view bestGamesHeader = "Rank   Score  Date              Length";
std::string bestGamesRow(int rank, const BestGameEntry& entry);
