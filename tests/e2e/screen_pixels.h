#pragma once
// Telling the game's pictures apart in screenshots of its window (top row first).
#include <string>
#include <vector>

#include "e2e/game_process.h"

using PixelKind = bool (*)(const Screenshot&, int x, int y);

// Lit colours keep their hue on the drum.
bool greenish(const Screenshot& s, int x, int y);
bool reddish(const Screenshot& s, int x, int y);
bool blackish(const Screenshot& s, int x, int y);
// Lit stone: grey, neither black nor tinted.
bool stoneGrey(const Screenshot& s, int x, int y);
// The title's lines and reminders.
bool titleYellow(const Screenshot& s, int x, int y);
// The previous score pulses between a quarter and three quarters of full red.
bool titleRed(const Screenshot& s, int x, int y);

// Pixels of a kind in [x0, x1) x [y0, y1).
int countIn(const Screenshot& s, int x0, int y0, int x1, int y1, PixelKind kind);

// Grass over the front of the drum: a game is running.
bool looksLikePlay(const Screenshot& shot);
// The title's yellow lines and no grass: a window not drawn yet is no title.
bool looksLikeTitle(const Screenshot& shot);
// Each on a fresh screenshot, for waitFor and pressKeyUntil.
bool showsPlay();
bool showsTitle();

// A line of the title: its text and the centre of its first glyph, y up.
struct TextLine {
    std::string text;
    int penX = 0;
    int penY = 0;
};
// Where the lines' glyphs, twice magnified, put ink in a 1024 x 768 window.
std::vector<bool> inkMask(const std::vector<TextLine>& lines);
// Pixels where the kind disagrees with the mask.
int mismatches(const Screenshot& shot, const std::vector<bool>& mask, PixelKind kind);
