// The real game's speed as a player feels it: from the middle row, the head
// reaches a stone row 110 board pixels away in 1.1 s at 100 per second, or
// later on a machine too busy for 20 frames a second.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e/game_process.h"
#include "e2e/screen_pixels.h"

namespace {

bool anyGreenInTheMiddle(const Screenshot& s) {
    for (int y = 200; y < 560; y += 4)
        for (int x = 440; x < 584; x += 4)
            if (greenish(s, x, y)) return true;
    return false;
}

// Seconds from pressing the key at the start of a game until the title is back.
double secondsUntilTheStoneRow(const std::string& key) {
    GameProcess game = startGame();
    if (!waitForWindow(20.0)) return -1.0;
    sleepSeconds(0.3);
    const bool playing = pressKeyUntil(
        "space",
        [] {
            const Screenshot shot = takeScreenshot();
            return shot.valid() && anyGreenInTheMiddle(shot);
        },
        20.0);
    if (!playing) {
        killGame(game);
        return -2.0;
    }
    const double pressed = nowSeconds();
    keyDownX(key);
    double seen = -3.0;
    while (nowSeconds() - pressed < 20.0) {
        Screenshot shot = takeScreenshot();
        if (shot.valid() && !anyGreenInTheMiddle(shot)) {
            seen = nowSeconds() - pressed;
            break;
        }
    }
    keyUpX(key);
    static_cast<void>(quitWithEscape(game));
    return seen;
}

TEST(Steering, UpAndDownEachReachTheirStoneRowNoSoonerThanASecond) {
    for (const char* key : {"Up", "Down"}) {
        const double seconds = secondsUntilTheStoneRow(key);
        std::printf("%s held: title back after %.2f s\n", key, seconds);
        // Never sooner than 1.1 s of travel, less a little for the key's way
        // to the game. A busy machine makes it later; how much later is no
        // fault, so there is no upper bound (the rules tests time the travel).
        EXPECT_GT(seconds, 0.9) << key;
    }
}

}  // namespace
