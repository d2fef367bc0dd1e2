// C and M in play act at once but leave the disk and the sound output to the
// next moment the game stands still, so no frame waits for either.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "support/scripted_platform.h"

namespace {

struct Case {
    const char* what;
    std::vector<ScriptedEvent> script;  // after Space at 0.2 s has started a game
    bool soundOnAtStart;                // the kept choice the run starts with
    std::vector<std::string> kept;      // the choices written, in order
    double keptNotBefore;               // none of them earlier than this
    double openedNotBefore;             // no sound output opened in play before this (-1: none opened in play)
};

TEST(ChoicesInPlay, AreKeptAndTheOutputFollowsOnlyWhenTheGameStandsStill) {
    const std::vector<Case> cases = {
        {"C, then a pause",
         {{1.0, Happening::tap, scanC}, {2.0, Happening::tap, scanP}},
         true,
         {"palette=contrast"},
         2.0,
         -1.0},
        {"C twice: nothing to keep",
         {{1.0, Happening::tap, scanC}, {1.5, Happening::tap, scanC}, {2.0, Happening::tap, scanP}},
         true,
         {},
         0.0,
         -1.0},
        {"M off, then Escape in play", {{1.0, Happening::tap, scanM}}, true, {"sound=off"}, 3.0, -1.0},
        {"M on, then a pause opens the output",
         {{1.0, Happening::tap, scanM}, {2.0, Happening::tap, scanP}},
         false,
         {"sound=on"},
         2.0,
         2.0},
        {"C and M, then the window looks away",
         {{1.0, Happening::tap, scanC},
          {1.2, Happening::tap, scanM},
          {2.0, Happening::focusLost},
          {2.5, Happening::focusGained}},
         true,
         {"palette=contrast", "sound=off"},
         2.0,
         -1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetScriptedPlatform();
        scripted().randoms = {0.0, 0.0, 0.0};  // the food far off at (0, 24)
        scripted().soundRate = 8000;
        scripted().settings.soundOn = c.soundOnAtStart;
        scriptTap(0.2, scanSpace);
        for (const ScriptedEvent& e : c.script) scripted().script.push_back(e);
        scriptTap(3.0, scanEscape);
        Program program;
        program.sound.on = c.soundOnAtStart;
        EXPECT_EQ(runSession(program), 0);
        EXPECT_EQ(scripted().keptSettings, c.kept);
        for (double at : scripted().keptSettingTimes) EXPECT_GE(at, c.keptNotBefore);
        std::vector<double> openedInPlay;
        for (double at : scripted().soundOpenTimes)
            if (at > 0.3) openedInPlay.push_back(at);
        if (c.openedNotBefore < 0) {
            EXPECT_TRUE(openedInPlay.empty());
        } else {
            ASSERT_EQ(openedInPlay.size(), 1u);
            EXPECT_GE(openedInPlay[0], c.openedNotBefore);
        }
    }
}

}  // namespace
