// P, C and M act once on each press: a key held does not act again, and a
// key already held when a screen starts does not act there.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "sound/sound_effects.h"
#include "support/scripted_platform.h"
#include "unit/session_runs.h"

namespace {

int choicesKept(const std::string& name) {
    const std::vector<std::string>& kept = scripted().keptSettings;
    return static_cast<int>(
        std::count_if(kept.begin(), kept.end(), [&](const std::string& line) { return line.starts_with(name + "="); }));
}

// Each pause and resume is heard once.
int pausesAndResumes() {
    const std::vector<int>& played = scripted().playedEffects;
    return static_cast<int>(std::count_if(played.begin(), played.end(),
                                          [](int effect) { return effect == soundPause || effect == soundResume; }));
}

int actsOf(int key) {
    switch (key) {
    case scanP: return pausesAndResumes();
    case scanC: return choicesKept("palette");
    default: return choicesKept("sound");
    }
}

// On the screen itself the key is held from 2 s to 3.5 s and tapped at
// 4.5 s. Held from the screen before, it goes down before Space (0.5 s) or
// P (1 s), comes up at 2 s and is tapped at 3 s.
enum class Press { onTheScreen, heldFromTheScreenBefore };

struct Row {
    const char* what;
    int key;
    bool play;   // Space at 0.5 s
    bool pause;  // P at 1 s
    Press press;
    int acts;  // the P at 1 s included; C and M counted by the choices kept
};

std::vector<Row> table() {
    std::vector<Row> rows = {
        // Held: pauses once, not again; tapped later: resumes.
        {"P in play", scanP, true, false, Press::onTheScreen, 2},
        {"P while paused", scanP, true, true, Press::onTheScreen, 3},
        {"P held from the title", scanP, true, false, Press::heldFromTheScreenBefore, 1},
    };
    for (const int key : {scanC, scanM}) {
        rows.push_back({"on the title", key, false, false, Press::onTheScreen, 2});
        rows.push_back({"in play", key, true, false, Press::onTheScreen, 2});
        rows.push_back({"while paused", key, true, true, Press::onTheScreen, 2});
        // Once on the screen before, once for the tap.
        rows.push_back({"held from the title into play", key, true, false, Press::heldFromTheScreenBefore, 2});
        rows.push_back({"held from play into a pause", key, true, true, Press::heldFromTheScreenBefore, 2});
    }
    return rows;
}

TEST(LatchedKeys, ActOncePerPressOnEveryScreenWhereTheyApply) {
    for (const Row& row : table()) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << " " << row.what);
        freshPlatform();
        scripted().soundRate = 8000;
        foodFarOff();
        if (row.play) scriptTap(0.5, scanSpace);
        if (row.pause) scriptTap(1.0, scanP);
        if (row.press == Press::onTheScreen) {
            scriptHold(2.0, 3.5, row.key);
            scriptTap(4.5, row.key);
        } else {
            scriptHold(row.pause ? 0.8 : 0.2, 2.0, row.key);
            scriptTap(3.0, row.key);
        }
        // C and M in play are kept when the game next stands still: a pause
        // between the hold and the tap keeps the first act on its own.
        if (row.play && !row.pause && row.key != scanP) {
            scriptTap(3.8, scanP);
            scriptTap(4.2, scanP);
        }
        scriptTap(5.5, scanEscape);
        Program program;
        runSession(program);
        EXPECT_EQ(actsOf(row.key), row.acts);
    }
}

}  // namespace
