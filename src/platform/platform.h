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

// PC keyboard scan codes (set 1) of the keys the game reads. scanP, scanC,
// scanM, scanB and scanE stand for the letters, wherever the player's layout
// puts them; scanEnter is either Enter key.
enum ScanCode : int {
    scanEscape = 1,
    scanE = 18,
    scanP = 25,
    scanEnter = 28,
    scanC = 46,
    scanB = 48,
    scanM = 50,
    scanSpace = 57,
    scanUp = 72,
    scanLeft = 75,
    scanRight = 77,
    scanDown = 80,
};

// First thing at start-up: closed standard descriptors are reopened on
// /dev/null, neither a reader that goes away nor the file-size limit kills the
// program (the write fails instead), and SIGINT, SIGTERM and SIGHUP only ask
// for the end (see terminationRequested).
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

// Handles events as present does, without drawing: waits up to the timeout
// for the first. True when the window needs a new picture (shown, exposed,
// resized, full screen switched, focus changed, since the last wait) or a
// key the game knows was pressed.
bool waitForEvents(int timeoutMilliseconds);


// True if the key was held at the last present or wait while the window had
// focus, or was pressed since the game last read it: the read clears the
// press, so a tap counts once, however rarely the game reads that key.
// Gamepads read as keys: d-pad and left stick as the arrows, A as Space,
// Start as Space and P, Back as Escape, X as C, Y as M, the left shoulder as
// B. W A S D (by position) are arrows too. P, C, M, B and E are the keys that
// type those letters in the player's keyboard layout, or in a layout of
// another script the keys at their US places. Enter held with Alt (the switch
// to full screen) is not Enter.
bool keyDown(int scanCode);
// Forgets presses not read yet; for a change of state (title, play, pause),
// so that a key meant for one never acts in the next.
void dropPendingPresses();

// True once if the window lost the focus, was minimised or hidden since the
// last call.
bool windowLookedAway();

// The screensaver may blank the screen, or is held off.
void allowScreensaver(bool allowed);
// True if any key or pad button (other than a modifier, or Enter with Alt)
// went down among the events of the last present or wait.
bool anyKeyPressed();
// True while the window has the keyboard focus and is shown on screen.
bool windowInView();
// True while the window is shown: neither minimised nor hidden.
bool windowShown();

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
// Keeps score as the best, with the recording of the game that made it when bestGame is not empty,
// unless another game of this player kept a higher one meanwhile. Returns the best kept afterwards
// (this game's or the other's); a failure prints one line on standard error.
int saveBestScore(int score, std::span<const std::uint8_t> bestGame = {});

struct Settings {
    bool soundOn = true;
    bool contrastPalette = false;  // false: the design's colours
};
// The player's choices, or the defaults when there are none (one line on standard error when the
// file cannot be used).
Settings loadSettings();
// Keeps one choice: reads the file again (so another running game's choice is kept), changes that
// line and replaces the file whole. A failure prints one line on standard error.
void keepSoundSetting(bool on);
void keepPaletteSetting(bool contrast);

// Sound output on the default device (SDL_AUDIODRIVER picks the driver).
// openSound opens it unless it is open and still there, and gives its sample
// rate, or 0 when there is no sound. Opening blocks: call it at start-up, on
// the title and when the player turns sound on, never during play. The first
// failure of a run prints one line on standard error, later ones nothing.
int openSound();
void closeSound();
// A copy of the effects (mono, at openSound's rate, in [-1, 1]) for
// playSoundEffects to play by number; replaces any kept before.
void keepSoundEffects(std::span<const std::vector<float>> effects);
// Starts effects at the output's next buffer; with stopFirst, what is playing
// stops first. Never waits for the output and never allocates.
void playSoundEffects(std::span<const int> effects, bool stopFirst);


// No best-game file larger than this is read.
inline constexpr std::size_t largestBestGameBytes = std::size_t{64} << 20;
// The kept best game's bytes. False when there are none: silently when there
// is no file, else after one line on standard error naming it.
bool loadBestGame(std::vector<std::uint8_t>& bytes);
// The best game's bytes were loaded but cannot be replayed: one line on
// standard error naming the file and what.
void reportBadBestGame(const std::string& what);

// The player's best games: what the "Best games" screen lists and the
// title's idle cycle replays, kept under the best score's lock beside it.
inline constexpr int bestGamesKept = 10;
struct BestGameEntry {
    int score = 0;
    std::int64_t endedAt = 0;  // when the game ended, seconds since 1970-01-01 UTC
    double playSeconds = 0.0;  // its length in play time; 0 when not known (kept by an older version)
    std::string recording;     // file name of its recording beside the table; empty when none is kept
    bool operator==(const BestGameEntry&) const = default;
};
// Best first; of equal scores the earlier game first. At most bestGamesKept.
struct BestGames {
    std::vector<BestGameEntry> entries;
    bool operator==(const BestGames&) const = default;
};
// The player's best games, best first. A best-score/best-game pair better
// than the table's best (kept meanwhile by an older version of the game, which
// takes no lock) enters the table first, with its recording; the game offers
// to watch only a recording that checks through the rules and carries its
// row's score. Bad lines are skipped with one line on standard error.
BestGames loadBestGames();
// Keeps a finished game, under the best score's lock: in the table when its
// score enters it (the eleventh drops out with its recording), and as
// best-score and best-game when it is the best. Replaces saveBestScore's
// part at the end of a game; returns the best score kept afterwards.
int keepFinishedGame(int score, double playSeconds, std::span<const std::uint8_t> recording);
// One kept game's recording. False when there is none: silently when none is
// kept, else after one line on standard error naming the file.
bool loadBestGamesRecording(const BestGameEntry& entry, std::vector<std::uint8_t>& bytes);
// A kept game's recording was loaded but cannot be replayed: one line on
// standard error naming its file and what.
void reportBadBestGamesRecording(const BestGameEntry& entry, const std::string& what);
// Copies a kept game's recording into the player's home folder under a name
// made of its score and date, for --replay elsewhere. The path written, or
// empty after one line on standard error.
std::string exportBestGame(const BestGameEntry& entry);
// The local date and time of a moment (seconds since 1970 UTC) as the screen
// shows it, "2026-12-08 14:03".
std::string localDateAndTime(std::int64_t secondsSince1970);

// A recording named on the command line, up to largestBestGameBytes. False
// with what set to a short reason when it cannot be read.
bool readRecordingFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& what);
// Before openDisplay: present without waiting for the display's refresh
// (the timed demo draws as fast as it can).
void requestNoRefreshWait();

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
