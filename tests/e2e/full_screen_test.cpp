// Alt+Enter under a real window manager, on X servers of their own: full
// screen at 1024 x 768 where the screen has that mode, and nothing at all
// where it would leave the picture in a corner of a larger screen.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/game_process.h"

namespace {

std::string output(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
        pclose(pipe);
    }
    return text;
}

pid_t spawn(const std::string& command) {
    pid_t pid = fork();
    if (pid == 0) {
        std::string line = "exec ";
        line += command;
        line += " >/dev/null 2>&1";
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// An X server of the given size with a window manager, made the test's display
// while it lives.
struct ManagedScreen {
    std::string previousDisplay;
    pid_t server = -1;
    pid_t manager = -1;
    bool ready = false;

    explicit ManagedScreen(const std::string& size) {
        if (const char* d = std::getenv("DISPLAY")) previousDisplay = d;
        int number = 180 + static_cast<int>(getpid() % 500);
        auto lockFile = [](int n) { return std::string("/tmp/.X").append(std::to_string(n)).append("-lock"); };
        while (access(lockFile(number).c_str(), F_OK) == 0) ++number;
        const std::string display = std::string(":").append(std::to_string(number));
        std::string command = "Xvfb ";
        command += display;
        command += " -noreset -nolisten tcp -screen 0 ";
        command += size;
        server = spawn(command);
        setenv("DISPLAY", display.c_str(), 1);
        for (int i = 0; i < 100 && !ready; ++i) {
            sleepSeconds(0.05);
            ready = std::system("xdotool getmouselocation >/dev/null 2>&1") == 0;
        }
        if (!ready) return;
        manager = spawn("openbox");
        // The manager is up once it has claimed the root window.
        ready = false;
        for (int i = 0; i < 100 && !ready; ++i) {
            sleepSeconds(0.05);
            ready = output("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") != std::string::npos;
        }
    }
    ~ManagedScreen() {
        stop(manager);
        stop(server);
        if (previousDisplay.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", previousDisplay.c_str(), 1);
    }
};

std::string gameWindow() {
    std::string id = output("xdotool search --onlyvisible --name '^tubewyrm$' | head -n 1");
    while (!id.empty() && id.back() == '\n') id.pop_back();
    return id;
}

bool isFullScreen(const std::string& window) {
    return output("xprop -id " + window + " _NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN") != std::string::npos;
}

std::string geometry(const std::string& window) {
    return output("xdotool getwindowgeometry " + window + " | grep Geometry");
}

void pressAltEnter() {
    std::system("xdotool keydown alt+Return sleep 0.1 keyup alt+Return");
    sleepSeconds(0.8);
}

TEST(FullScreen, AltEnterSwitchesToFullScreenAndBackToTheWindow) {
    ManagedScreen screen("1024x768x24");
    ASSERT_TRUE(screen.ready) << "no X server with a window manager";
    GameProcess game = startGame();
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.5);
    const std::string window = gameWindow();
    EXPECT_FALSE(isFullScreen(window));
    pressAltEnter();
    EXPECT_TRUE(isFullScreen(window));
    EXPECT_NE(geometry(window).find("1024x768"), std::string::npos) << geometry(window);
    pressAltEnter();
    EXPECT_FALSE(isFullScreen(window));
    EXPECT_NE(geometry(window).find("1024x768"), std::string::npos) << "back at its own size: " << geometry(window);
    keyDownX("Escape");
    const bool ended = waitForExit(game, 2.0);
    keyUpX("Escape");
    if (!ended) killGame(game);
    EXPECT_TRUE(ended && game.exitStatus == 0);
}

TEST(FullScreen, WithoutA1024By768ModeTheWindowStaysAsItIs) {
    ManagedScreen screen("1600x1200x24");
    ASSERT_TRUE(screen.ready) << "no X server with a window manager";
    GameProcess game = startGame();
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.5);
    const std::string window = gameWindow();
    pressAltEnter();
    EXPECT_FALSE(isFullScreen(window));
    EXPECT_NE(geometry(window).find("1024x768"), std::string::npos) << geometry(window);
    keyDownX("Escape");
    const bool ended = waitForExit(game, 2.0);
    keyUpX("Escape");
    if (!ended) killGame(game);
    EXPECT_TRUE(ended && game.exitStatus == 0);
}

}  // namespace
