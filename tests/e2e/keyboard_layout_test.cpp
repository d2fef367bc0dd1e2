// The letter keys of the real game under keyboard layouts other than US,
// switched on the test's own X server with setxkbmap. The choices M and C
// make are read back from the settings file the game keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "e2e/game_process.h"

namespace {

// setxkbmap changes the layout of every window on the server: never the
// desktop's. support/on_own_display.sh names the server it started.
bool onOwnServer() {
    const char* own = std::getenv("TUBEWYRM_OWN_DISPLAY");
    const char* display = std::getenv("DISPLAY");
    return own && display && std::strcmp(own, display) == 0;
}

bool setLayout(const std::string& layout) {
    return std::system(("setxkbmap -display \"$DISPLAY\" " + layout).c_str()) == 0;
}

// Later tests on the same server press keys by their US names.
struct UsLayoutAfterwards {
    ~UsLayoutAfterwards() { static_cast<void>(setLayout("us")); }
};

bool settingSays(const GameProcess& game, const char* line) {
    return readFile(game.configHome + "/tubewyrm/settings").find(line) != std::string::npos;
}

// xdotool presses the key that types the named key symbol in the layout in
// force: "m" on fr is the key at the US ";" place, "comma" on fr the key at
// the US M place, and on ru Cyrillic_softsign and Cyrillic_es are the keys at
// the US M and C places.
struct LayoutCase {
    const char* startLayout;
    const char* layout;  // switched to while the game runs, when not the same
    const char* mKey;
    const char* cKey;
    const char* typesNoM;  // sits where M or m is in another layout; null for none
};

void checkLetterKeys(const LayoutCase& row) {
    ASSERT_TRUE(setLayout(row.startLayout)) << "setxkbmap (package x11-xkb-utils) failed";
    RunningGame running{startGame()};
    ASSERT_TRUE(waitForWindow(20.0)) << readFile(running.game.stderrPath);
    if (std::strcmp(row.startLayout, row.layout) != 0) {
        // C on the first layout shows the game has read its keys, then the
        // layout changes under it.
        ASSERT_TRUE(pressKeyUntil(
            "c", [&] { return settingSays(running.game, "palette=contrast"); }, 20.0));
        ASSERT_TRUE(setLayout(row.layout));
    }
    ASSERT_TRUE(pressKeyUntil(
        row.mKey, [&] { return settingSays(running.game, "sound=off"); }, 20.0))
        << row.mKey << " did not turn sound off";
    // The key that must do nothing is held while C is pressed: C wakes the
    // game, which then reads that key both as a press and as held.
    if (row.typesNoM) keyDownX(row.typesNoM);
    const bool contrastBefore = settingSays(running.game, "palette=contrast");
    const bool switched = pressKeyUntil(
        row.cKey, [&] { return settingSays(running.game, "palette=contrast") != contrastBefore; }, 20.0);
    if (row.typesNoM) keyUpX(row.typesNoM);
    ASSERT_TRUE(switched) << row.cKey << " did not switch the palette";
    if (row.typesNoM) {
        sleepSeconds(0.5);  // M is read, and kept, just after C in the same frame
        EXPECT_TRUE(settingSays(running.game, "sound=off")) << row.typesNoM << " turned sound on";
    }
}

TEST(KeyboardLayout, LettersActOnTheKeyThatTypesThemOrWithoutLatinLettersOnTheirUsPlace) {
    if (!onOwnServer()) GTEST_SKIP() << "switches the keyboard layout: run under support/on_own_display.sh";
    UsLayoutAfterwards restore;
    const LayoutCase rows[] = {
        {"us", "us", "m", "c", "semicolon"},
        {"fr", "fr", "m", "c", "comma"},
        {"ru", "ru", "Cyrillic_softsign", "Cyrillic_es", nullptr},
        {"us", "fr", "m", "c", "comma"},
    };
    for (const LayoutCase& row : rows) {
        SCOPED_TRACE(std::string(row.startLayout) + " then " + row.layout);
        checkLetterKeys(row);
    }
}

}  // namespace
