// Full screen under a real window manager, on X servers of their own: Alt+Enter
// and the maximise box both cover the screen on its own mode, with the picture
// letterboxed into the middle; Alt+Enter again gives back the window at its
// own size, also when the player had resized it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "e2e/game_process.h"

namespace {

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
        server = startProgram({"Xvfb", display, "-noreset", "-nolisten", "tcp", "-screen", "0", size});
        setenv("DISPLAY", display.c_str(), 1);
        for (int i = 0; i < 100 && !ready; ++i) {
            sleepSeconds(0.05);
            ready = std::system("xdotool getmouselocation >/dev/null 2>&1") == 0;
        }
        if (!ready) return;
        manager = startProgram({"openbox"});
        // The manager is up once it has claimed the root window.
        ready = false;
        for (int i = 0; i < 100 && !ready; ++i) {
            sleepSeconds(0.05);
            ready = runCommand("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
                    std::string::npos;
        }
    }
    ~ManagedScreen() {
        stopProgram(manager, SIGTERM);
        stopProgram(server, SIGTERM);
        if (previousDisplay.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", previousDisplay.c_str(), 1);
    }
};

bool isFullScreen(const std::string& window) {
    return runCommand("xprop -id " + window + " _NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN") != std::string::npos;
}

std::string geometry(const std::string& window) {
    return runCommand("xdotool getwindowgeometry " + window + " | grep Geometry");
}

struct Place {
    int x = -1;
    int y = -1;
    int width = 0;
    int height = 0;
};

Place placeOf(const std::string& window) {
    Place place;
    const std::string text = runCommand("xdotool getwindowgeometry " + window);
    const std::size_t position = text.find("Position:");
    const std::size_t geometry = text.find("Geometry:");
    // A window xdotool cannot describe has no place: the callers' checks then fail.
    if (position == std::string::npos || geometry == std::string::npos ||
        std::sscanf(text.c_str() + position, "Position: %d,%d", &place.x, &place.y) != 2 ||
        std::sscanf(text.c_str() + geometry, "Geometry: %dx%d", &place.width, &place.height) != 2)
        return Place{};
    return place;
}

// Asks the window manager to add (or remove) one or two states of the
// window, as a taskbar, a menu or a shortcut of the manager's own does.
void askWindowManager(const std::string& window, bool add, const char* state, const char* otherState = nullptr) {
    ::Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(x, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = add ? 1 : 0;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(x, state, False));
    if (otherState) event.xclient.data.l[2] = static_cast<long>(XInternAtom(x, otherState, False));
    event.xclient.data.l[3] = 1;  // from an application
    XSendEvent(x, DefaultRootWindow(x), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XCloseDisplay(x);
    sleepSeconds(0.8);
}

void askToMaximise(const std::string& window) {
    askWindowManager(window, true, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
}

void askToLeaveFullScreen(const std::string& window) { askWindowManager(window, false, "_NET_WM_STATE_FULLSCREEN"); }

bool dark(const Screenshot& s, int x, int y) { return s.r(x, y) < 10 && s.g(x, y) < 10 && s.b(x, y) < 10; }

// The first and last lit columns of a row.
std::pair<int, int> litSpan(const Screenshot& s, int y) {
    int left = -1, right = -1;
    for (int x = 0; x < s.width; ++x) {
        if (dark(s, x, y)) continue;
        if (left < 0) left = x;
        right = x;
    }
    return {left, right};
}

void pressAltEnter() {
    std::system("xdotool keydown alt+Return sleep 0.1 keyup alt+Return");
    sleepSeconds(0.8);
}

TEST(FullScreen, OnAScreenWithoutA1024By768ModeThePictureIsCentredBetweenBlackBars) {
    ManagedScreen screen("1280x1024x24");
    ASSERT_TRUE(screen.ready) << "no X server with a window manager";
    RunningGame running{startGame()};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.5);
    const std::string window = gameWindowId();
    const std::string allowed = runCommand("xprop -id " + window + " _NET_WM_ALLOWED_ACTIONS");
    EXPECT_NE(allowed.find("_NET_WM_ACTION_MAXIMIZE_HORZ"), std::string::npos) << allowed;
    EXPECT_NE(allowed.find("_NET_WM_ACTION_MAXIMIZE_VERT"), std::string::npos) << allowed;
    const Place windowed = placeOf(window);
    EXPECT_EQ(windowed.width, 1024);
    EXPECT_EQ(windowed.height, 768);

    // In a game the picture is lit from top to bottom: score line and drum.
    // Waits rather than pauses throughout: a busy machine may be slow to show.
    auto drumWidth = [](const Screenshot& shot, int row) {
        const auto [left, right] = litSpan(shot, row);
        return left < 0 ? 0 : right - left;
    };
    pressKeyUntil(
        "space",
        [&] {
            const Screenshot shot = takeScreenshot();
            return shot.height == 768 && drumWidth(shot, 456) > 200;
        },
        20.0);
    const Screenshot inWindow = takeScreenshot();
    ASSERT_EQ(inWindow.height, 768);
    const auto [windowLeft, windowRight] = litSpan(inWindow, 456);
    const int windowDrum = windowRight - windowLeft;
    ASSERT_GT(windowDrum, 200) << "no drum in the window";
    for (int round = 0; round < 2; ++round) {
        if (round == 0) {
            // The window manager would give back the size the window had before.
            runCommand("xdotool windowsize " + window + " 800 600");
            EXPECT_TRUE(waitFor([&] { return placeOf(window).width == 800; }, 20.0)) << "not resized";
            pressAltEnter();
        } else {
            askToMaximise(window);
        }
        EXPECT_TRUE(waitFor([&] { return isFullScreen(window) && placeOf(window).width == 1280; }, 20.0))
            << "round " << round;
        const Place covering = placeOf(window);
        EXPECT_EQ(covering.x, 0);
        EXPECT_EQ(covering.y, 0);
        EXPECT_EQ(covering.width, 1280);
        EXPECT_EQ(covering.height, 1024);

        // A frame drawn at the new size.
        waitFor(
            [&] {
                const Screenshot shot = takeScreenshot();
                return shot.width == 1280 && drumWidth(shot, 602) > windowDrum;
            },
            20.0);
        const Screenshot shot = takeScreenshot(round == 0 ? "e2e_full_screen_1280x1024.png" : "");
        ASSERT_EQ(shot.width, 1280);
        ASSERT_EQ(shot.height, 1024);
        // 1280 x 960 in the middle: 32 black rows above and below. The score
        // line touches the picture's top; the drum's foot, which rises and
        // falls a little with the head's row, ends within a few rows of its bottom.
        int firstLit = -1, lastLit = -1;
        for (int y = 0; y < shot.height; ++y) {
            if (litSpan(shot, y).first < 0) continue;
            if (firstLit < 0) firstLit = y;
            lastLit = y;
        }
        EXPECT_GE(firstLit, 32) << "round " << round;
        EXPECT_LT(firstLit, 44) << "round " << round;
        EXPECT_LE(lastLit, 991) << "round " << round;
        EXPECT_GT(lastLit, 979) << "round " << round;
        // The drum stands in the middle, 1.25 times as wide as in the window
        // (the same row of the picture: 32 + 1.25 x 456 = 602).
        const auto [left, right] = litSpan(shot, 602);
        EXPECT_NEAR(left + right, 1279, 8) << left << " to " << right;
        EXPECT_NEAR(right - left, 1.25 * windowDrum, 8) << left << " to " << right;

        pressAltEnter();
        EXPECT_TRUE(waitFor([&] { return !isFullScreen(window) && placeOf(window).width == 1024; }, 20.0))
            << "round " << round;
        const Place back = placeOf(window);
        EXPECT_EQ(back.width, 1024);
        EXPECT_EQ(back.height, 768);
        EXPECT_EQ(back.x, windowed.x) << "back where it was";
        EXPECT_EQ(back.y, windowed.y) << "back where it was";
    }
    EXPECT_TRUE(quitWithEscape(game));
}

TEST(FullScreen, AfterTheWindowManagerEndsFullScreenAltEnterAndTheMaximiseBoxSwitchItOnAgain) {
    ManagedScreen screen("1280x1024x24");
    ASSERT_TRUE(screen.ready) << "no X server with a window manager";
    RunningGame running{startGame()};
    GameProcess& game = running.game;
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(game.stderrPath);
    sleepSeconds(0.5);
    const std::string window = gameWindowId();
    auto covering = [&] { return isFullScreen(window) && placeOf(window).width == 1280; };
    auto windowed = [&] { return !isFullScreen(window) && placeOf(window).width == 1024; };
    for (int round = 0; round < 2; ++round) {
        pressAltEnter();
        ASSERT_TRUE(waitFor(covering, 20.0)) << "round " << round << ": " << geometry(window);
        askToLeaveFullScreen(window);
        ASSERT_TRUE(waitFor(windowed, 20.0)) << "round " << round << ": " << geometry(window);
        if (round == 0)
            pressAltEnter();
        else
            askToMaximise(window);
        EXPECT_TRUE(waitFor(covering, 20.0)) << "round " << round << ": full screen again: " << geometry(window);
        pressAltEnter();
        EXPECT_TRUE(waitFor(windowed, 20.0)) << "round " << round << ": " << geometry(window);
    }
    EXPECT_TRUE(quitWithEscape(game));
}

}  // namespace
