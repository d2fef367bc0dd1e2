#pragma once
// Running the real game binary under X and driving it from outside.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct GameProcess {
    pid_t pid = -1;
    std::string stdoutPath;
    std::string stderrPath;
    std::string dataHome;    // the game's own XDG_DATA_HOME, removed when it ends
    std::string configHome;  // the game's own XDG_CONFIG_HOME, removed when it ends
    int exitStatus = -1;     // set by waitForExit: the exit status, or 128 + the signal
    int outputPipe = -1;     // read end of standard output with StandardStreams::pipe
};

enum class StandardStreams {
    files,   // standard output and error into the files named in GameProcess
    pipe,    // standard output into a pipe, standard error into its file
    closed,  // descriptors 0, 1 and 2 all closed
};

// Starts the game with the given extra environment ("NAME=value" or "-NAME" to
// unset), which comes after its own data and config folders and silent sound,
// and the given command-line arguments.
GameProcess startGame(const std::vector<std::string>& environment = {},
                      StandardStreams streams = StandardStreams::files, const std::vector<std::string>& arguments = {});
// Everything left in the output pipe until its write end closes.
std::string readOutputPipe(GameProcess& game);
// Polls the condition until it holds; false after the timeout. Timeouts are
// generous: a busy machine may take far longer than a quiet one.
bool waitFor(const std::function<bool()>& condition, double seconds);
// Holds the key for 0.3 s again and again until the condition holds (a busy
// game may not have shown its window or read its keys yet); false after the timeout.
bool pressKeyUntil(const std::string& key, const std::function<bool()>& condition, double seconds);
// Waits until the game's window is mapped; false after the timeout.
bool waitForWindow(double seconds);
// True when the process ended within the timeout; exitStatus then holds its status.
bool waitForExit(GameProcess& game, double seconds);
void killGame(GameProcess& game);
// Escape held until the game ends; true when it ended with status 0. A game
// still running after the timeout is killed.
bool quitWithEscape(GameProcess& game);
// The game's mapped window as xdotool names it; empty when there is none.
std::string gameWindowId();

// A program of the test's own (a server, a recorder, a window manager), with
// extra environment entries ("NAME=value"), its output and errors appended to
// the log.
pid_t startProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {},
                   const std::string& logPath = "/dev/null");
// Sends the signal and waits for the end; pid is then -1.
void stopProgram(pid_t& pid, int signal);
// True once the program has ended; pid is then -1.
bool exited(pid_t& pid);

// Ends the game if a failed assertion left it running.
struct RunningGame {
    GameProcess game;
    ~RunningGame() { killGame(game); }
};
std::string readFile(const std::string& path);

// xdotool: hold a key for a while, or press and release it.
void holdKey(const std::string& key, double seconds);
void keyDownX(const std::string& key);
void keyUpX(const std::string& key);
void sleepSeconds(double seconds);
// Runs a shell command and gives its standard output.
std::string runCommand(const std::string& command);
double nowSeconds();

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first
    bool valid() const { return width > 0; }
    std::uint8_t r(int x, int y) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
    std::uint8_t g(int x, int y) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + 1]; }
    std::uint8_t b(int x, int y) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + 2]; }
};

// The game window's client area (1024 x 768), read with ImageMagick's import.
Screenshot takeScreenshot(const std::string& keepAs = "");
