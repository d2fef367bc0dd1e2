#pragma once
// Everything the game asks of the operating system, as free functions.
// The real build implements them over SDL2 in src/platform/; tests link a
// scripted version with their own clock, keys and random numbers instead.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// PC keyboard scan codes (set 1) of the keys the game reads.
enum ScanCode : int {
    scanEscape = 1,
    scanP = 25,
    scanSpace = 57,
    scanUp = 72,
    scanLeft = 75,
    scanRight = 77,
    scanDown = 80,
};

// First thing at start-up: closed standard descriptors are reopened on
// /dev/null, a reader that goes away no longer kills the program, and SIGINT,
// SIGTERM and SIGHUP only ask for the end (see terminationRequested).
void setUpProcess();

// True once a termination signal arrived. The loops check it every frame and
// leave as Escape does; endProgram then ends the process by that signal.
bool terminationRequested();

// Asked for before openDisplay; they shape the context it makes.
void requestDepthBits(int bits);
void requestSamples(int samples);

// Opens the window with a current OpenGL context. On failure it has already
// printed one line to standard error saying what could not be opened.
bool openDisplay(int width, int height, int colorBits);

// Swaps, handles the window's events, then refreshes the key state (only
// while focused) from the keyboard and any gamepads.
void present();

// True if the key was held at the last present while the window had focus,
// or was pressed at any time between that present and the one before.
// Gamepads read as keys: d-pad and left stick as the arrows, A as Space,
// Start as Space and P, Back as Escape.
bool keyDown(int scanCode);
// True if any key or pad button (other than a modifier, or Enter with Alt)
// went down, or any key the game reads was held, at the last present.
bool anyKeyPressed();
// True while the window has the keyboard focus and is shown on screen.
bool windowInView();

struct PixelSize {
    int width = 0;
    int height = 0;
};
// The size in pixels of what the window shows, as of the last present (or
// of openDisplay before the first); it changes with full screen and resizing.
PixelSize drawableSize();

// The best score kept between runs, or -1 when there is none yet. A file
// that cannot be used counts as none, with one line on standard error.
int loadBestScore();
// Keeps score as the best for later runs, and bestGame, when given, as the
// best game beside it (renamed into place before the score); each written
// whole or not at all. Returns the best score kept afterwards. A failure
// prints one line on standard error and is otherwise ignored.
int saveBestScore(int score, std::span<const std::uint8_t> bestGame = {});

// No best-game file larger than this is read.
inline constexpr std::size_t largestBestGameBytes = std::size_t{64} << 20;
// The kept best game's bytes. False when there are none: silently when there
// is no file, else after one line on standard error naming it.
bool loadBestGame(std::vector<std::uint8_t>& bytes);
// The best game's bytes were loaded but cannot be replayed: one line on
// standard error naming the file and what.
void reportBadBestGame(const std::string& what);

double readClock();  // seconds, monotonic, arbitrary origin
void sleepMilliseconds(int milliseconds);

// Console output channels on standard output; lines end with CR LF. Output
// that cannot be written (no reader left) is dropped.
int openConsole();
void writeConsoleLine(int channel, std::string_view text);
void closeConsole(int channel);

// GL extension names followed by the window system's, space separated;
// empty without a GL context.
std::string glExtensionString();
// Address of a GL entry point, or null without a context.
void* glEntryPoint(const char* name);

// The 8 x 8 code page 437 glyph of a character code (0 to 255): eight rows,
// top row first, bit 7 the leftmost pixel.
const unsigned char* glyphBitmap(int code);

void seedRandom(double seed);
double nextRandom();  // uniform in [0, 1)

// Flushes the console, closes the window (restoring the display mode) and
// exits with the status, or, after a termination signal, dies by that signal.
[[noreturn]] void endProgram(int status);
