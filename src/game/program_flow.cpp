#include "game/program_flow.h"

#include <algorithm>

#include "game/best_game_replay.h"
#include "game/best_games_flow.h"
#include "game/key_latch.h"
#include "game/palette_switch.h"
#include "game/program.h"
#include "game/sound_flow.h"
#include "game/still_screen.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/cylinder_pass.h"
#include "render/display_setup.h"
#include "render/pause_overlay.h"
#include "render/title_screen.h"
#include "rules/best_score.h"
#include "rules/food_rules.h"
#include "rules/frame_rules.h"
#include "rules/recorded_input.h"
#include "rules/snake_rules.h"

namespace {

// Moving screens (play, a replay) sleep this long after each picture.
constexpr int frameSleepMilliseconds = 3;

enum class Screen { title, play, paused, replay, bestGames };

// What the one loop keeps between its turns.
struct Session {
    Screen screen = Screen::title;
    KeyLatch pauseKey{scanP};
    KeyLatch paletteKey{scanC};
    KeyLatch soundKey{scanM};
    KeyLatch bestGamesKey{scanB};
    StillScreen still;
    double idleSince = 0.0;       // the title's last key or its start; the idle cycle's table's start
    bool sharedKeyActed = false;  // M or C acted in this turn of the loop
    bool escapePressed = false;   // seen while the presses of a screen were dropped
    bool escapeHeldOver = false;  // the Escape that went back to the title, not let go yet
    ReplayClock replayClock;
    bool replayRunning = false;
    bool replayStarting = false;  // the keys of the last picture or wait chose it
    // On the Best games screen or watching from it, opened with B; otherwise
    // those screens are the title's idle cycle.
    bool browsing = false;
    BestGamesChoice choice;
    int idleReplay = -1;  // the row the idle cycle's table leads to
    // A recording named on the command line replays before the first title;
    // the window, not yet in view when it starts, ends it only by leaving
    // view once it was.
    bool openingUnseen = false;
};

// The game time this frame advances everything by: motion, reversal pulse,
// wiggle and trail steps.
void measureFrameTime(PlayState& play) {
    const double now = readClock();
    play.frameTime = std::min(now - play.lastClock, longestFrameTime);
    play.lastClock = readClock();
    noteFrameTime(play.input, play.frameTime);
    play.playTime += play.frameTime;
}

void drawPlayFrame(const Program& program) {
    const PlayState& play = program.play;
    runBoardPass(play, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
}

// A key pressed for one screen never acts in the next, but Escape ends the
// program from any of them, even when it came with the key that changed it
// (unless it was the Escape that went back to the title).
void forgetPresses(Session& session) {
    session.escapePressed = session.escapePressed || (!session.escapeHeldOver && keyDown(scanEscape));
    dropPendingPresses();
}

void enterTitle(Program& program, Session& session) {
    program.play.movingHorizontally = true;
    program.play.movingVertically = false;
    // What was chosen in play is kept now, and a device plugged in (or back)
    // since the last game is found here, never in play.
    saveChoices(program);
    settleSound(program);
    forgetPresses(session);
    allowScreensaver(true);
    session.screen = Screen::title;
    session.browsing = false;
    holdOver(session.bestGamesKey);
    // The first title stands still; after a game its previous score pulses.
    session.still = StillScreen{true, program.play.gamePlayed, 0.0};
    session.idleSince = readClock();
}

// The Best games screen, opened with B (or back from a watch), or shown by
// the title's idle cycle.
void enterBestGames(Session& session, bool browsing) {
    dropPendingPresses();
    holdOverBestGamesKeys(session.choice);
    session.screen = Screen::bestGames;
    session.browsing = browsing;
    session.still = StillScreen{};
    session.idleSince = readClock();
}

void enterReplay(Program& program, Session& session, std::size_t row) {
    startReplay(program, program.kept.recordings[row], session.browsing, session.replayClock);
    session.replayRunning = true;
    session.replayStarting = true;
    session.screen = Screen::replay;
}

void enterPlay(Program& program, Session& session) {
    startGame(program);
    forgetPresses(session);
    static_cast<void>(windowLookedAway());  // the title's does not count
    allowScreensaver(false);
    // P pauses on its press: one still held from the title does nothing.
    holdOver(session.pauseKey);
    session.screen = Screen::play;
}

void pauseOrResume(Program& program, Session& session, bool pause) {
    noteEvent(program.play.events, pause ? GameEventKind::pause : GameEventKind::resume);
    handOverSounds(program);
    if (pause) {
        saveChoices(program);
        settleSound(program);
    }
    forgetPresses(session);
    allowScreensaver(pause);
    session.screen = pause ? Screen::paused : Screen::play;
    session.still = StillScreen{};
    // Measured from here, the next frame leaves the paused time out.
    if (!pause) program.play.lastClock = readClock();
}

void endGame(Program& program) {
    noteFinalScore(program.play);
    // As kept now, with this game when it made the table.
    loadKeptGames(program);
    handOverSounds(program);
}

// Escape, unless it is the one that just went back to the title, still held.
bool escapeDown(Session& session) {
    const bool down = keyDown(scanEscape);
    if (session.escapeHeldOver && down) return false;
    session.escapeHeldOver = false;
    return down;
}

// Escape, a termination signal, M and C, the same on every screen but one:
// on the Best games screen and in a watch from it, Escape goes back a screen.
// False when the program is to end.
bool runSharedKeys(Program& program, Session& session) {
    if (terminationRequested()) return false;
    if (!session.browsing && (session.escapePressed || escapeDown(session))) return false;
    const bool paused = session.screen == Screen::paused;
    const bool inPlay = session.screen == Screen::play;
    session.sharedKeyActed = false;
    if (pressedOnce(session.paletteKey)) {
        switchPalette(program, inPlay, paused);
        session.still.changed = session.still.changed || paused;
        session.sharedKeyActed = true;
    }
    if (pressedOnce(session.soundKey)) {
        switchSound(program, inPlay);
        // The title says how to turn sound back on while it is off.
        session.still.changed = session.still.changed || session.screen == Screen::title;
        session.sharedKeyActed = true;
    }
    return true;
}

void runTitleStep(Program& program, Session& session) {
    if (stillPictureDue(session.still)) {
        drawTitleFrame(program);
        present();
        notePicturePresented(session.still);
    }
    if (keyDown(scanSpace)) {
        enterPlay(program, session);
        return;
    }
    if (pressedOnce(session.bestGamesKey)) {
        session.choice.row = 0;
        session.choice.note.clear();
        enterBestGames(session, true);
        return;
    }
    // Idle and in view, the cycle shows the table, then replays one of them.
    if (anyKeyPressed() || session.sharedKeyActed) {
        session.idleSince = readClock();
    } else if (readClock() - session.idleSince >= replayIdleSeconds && windowInView() &&
               !program.kept.table.entries.empty()) {
        session.idleReplay = takeIdleReplay(program);
        enterBestGames(session, false);
    }
}

// The table as the player opened it, or as the idle cycle shows it.
void runBestGamesStep(Program& program, Session& session) {
    if (stillPictureDue(session.still)) {
        if (session.browsing)
            drawBestGamesFrame(program, session.choice.row, true, session.choice.note);
        else
            drawBestGamesFrame(program, session.idleReplay, false, {});
        present();
        notePicturePresented(session.still);
    }
    if (!session.browsing) {
        // The idle cycle's: Space plays, another key or looking away ends it.
        if (keyDown(scanSpace)) {
            enterTitle(program, session);
            enterPlay(program, session);
        } else if ((anyKeyPressed() && !session.sharedKeyActed) || !windowInView()) {
            enterTitle(program, session);
        } else if (readClock() - session.idleSince >= idleTableSeconds) {
            if (session.idleReplay >= 0)
                enterReplay(program, session, static_cast<std::size_t>(session.idleReplay));
            else
                enterTitle(program, session);
        }
        return;
    }
    switch (readBestGamesKeys(program, session.choice)) {
    case BestGamesAction::none: break;
    case BestGamesAction::changed: session.still.changed = true; break;
    case BestGamesAction::watch: enterReplay(program, session, static_cast<std::size_t>(session.choice.row)); break;
    case BestGamesAction::back:
        session.escapeHeldOver = true;
        enterTitle(program, session);
        break;
    }
}

void runPlayStep(Program& program, Session& session) {
    PlayState& play = program.play;
    measureFrameTime(play);
    if (!advancePlayFrame(play)) {
        endGame(program);
        enterTitle(program, session);
        return;
    }
    handOverSounds(program);
    drawPlayFrame(program);
    present();
    sleepMilliseconds(frameSleepMilliseconds);
    // Looking away pauses as P does, but only the player resumes.
    if (pressedOnce(session.pauseKey) || windowLookedAway()) pauseOrResume(program, session, true);
}

void runPausedStep(Program& program, Session& session) {
    if (stillPictureDue(session.still)) {
        drawPausedFrame(program);
        present();
        notePicturePresented(session.still);
    }
    static_cast<void>(windowLookedAway());
    if (pressedOnce(session.pauseKey)) pauseOrResume(program, session, false);
}

// The named recording replays as a kept game would, lent for the replay.
void startOpeningReplay(Program& program, Session& session, Recording& recording) {
    session.openingUnseen = true;
    startReplay(program, recording, false, session.replayClock);
    session.replayClock.kind = ReplayKind::named;
    session.replayRunning = true;
    session.screen = Screen::replay;
}

void finishReplay(Program& program, Session& session) {
    endReplay(program, session.replayClock);
    session.openingUnseen = false;
}

bool replayInView(Session& session) {
    session.openingUnseen = session.openingUnseen && !windowInView();
    return windowInView() || session.openingUnseen;
}

void runReplayStep(Program& program, Session& session) {
    // The keys of the last picture or wait, on which M and C have acted: in
    // the idle cycle Space starts a game; any other key, the window leaving
    // view or the game's end go back to the title, or to the Best games
    // screen the game was chosen on, whatever the key. A replay plays no sounds.
    const bool startsGame = keyDown(scanSpace);
    const bool otherKey = anyKeyPressed() && !session.sharedKeyActed && !startsGame && !session.replayStarting;
    session.replayStarting = false;
    if (!startsGame && !otherKey && replayInView(session) && session.replayRunning) {
        const ReplayStep step = runReplayStep(program, session.replayClock);
        if (step == ReplayStep::presented) sleepMilliseconds(frameSleepMilliseconds);
        session.replayRunning = step != ReplayStep::ended;
        return;
    }
    finishReplay(program, session);
    if (session.browsing) {
        enterBestGames(session, true);
        return;
    }
    enterTitle(program, session);
    if (startsGame) enterPlay(program, session);
}

}  // namespace

void startUp(Program& program) {
    seedRandom(readClock());
    setUpDisplay();
    TextureImages images;
    // The player's choices from the last run, before any picture is made;
    // the sound output itself opens with the first title.
    const Settings settings = loadSettings();
    program.contrastPalette = settings.contrastPalette;
    program.sound.on = settings.soundOn;
    program.textureNoise = drawTextureNoise();
    makeTextureImages(images, program.textureNoise, paletteFor(program.contrastPalette));
    // Without a target the rules keep the 512 x 256 board and the board pass
    // draws into the back buffer and copies from there.
    if (createBoardTarget(program.boardTarget, static_cast<int>(boardWidthPixels), static_cast<int>(boardHeightPixels),
                          false)) {
        program.play.boardWidth = program.boardTarget.width;
        program.play.boardHeight = program.boardTarget.height;
    } else {
        program.boardCopyTexture = createBoardCopyTexture(static_cast<int>(boardWidthPixels),
                                                          static_cast<int>(boardHeightPixels));
    }
    setUpLight(program.light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
               {0.0f, 0.0f, 50.0f, 1.0f});
    for (int slot = 0; slot < textureSlotCount; ++slot) {
        uploadTexture(program.textures.names[slot], images[slot]);
        freeImage(images[slot]);
    }
    program.font.texture = program.textures.names[fontSlot];
    buildFont(program.font.listBase, 16.0f, 16.0f, 8);
    stopCullingFaces();
    program.play.bestScore = loadBestScore();
    loadKeptGames(program);
}

void drawTitleFrame(const Program& program) {
    drawTitleScreen(program.font, program.play.gamePlayed, upperIndex(program.play.snake), program.play.bestScore,
                    !program.sound.on, program.sound.on && !program.sound.outputFound,
                    !program.kept.table.entries.empty());
}

// The board texture still holds the last board, so a still frame needs only
// the cylinder and the score again, with the word over them. Neither the
// clock nor the rules are touched: nothing moves, pulses or wiggles.
void drawPausedFrame(const Program& program) {
    const PlayState& play = program.play;
    runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
    drawPausedLine(program.font);
}

void startGame(Program& program) {
    PlayState& play = program.play;
    play.headAngle = 0;
    play.heading = {2.0f, 0.0f, 0.0f};
    resetSnake(play.snake);
    beginRecording(play);
    placeFood(play.food, foodOrigin(), foodExtent(play.boardWidth, play.boardHeight), play.snake, play.input);
    play.lastClock = readClock();
    play.gamePlayed = true;
    play.events.count = 0;
    noteEvent(play.events, GameEventKind::gameStart);
}

int runSession(Program& program, Recording* firstReplay) {
    Session session;
    enterTitle(program, session);
    if (firstReplay != nullptr) startOpeningReplay(program, session, *firstReplay);
    for (;;) {
        if (!runSharedKeys(program, session)) break;
        switch (session.screen) {
        case Screen::title: runTitleStep(program, session); break;
        case Screen::play: runPlayStep(program, session); break;
        case Screen::paused: runPausedStep(program, session); break;
        case Screen::replay: runReplayStep(program, session); break;
        case Screen::bestGames: runBestGamesStep(program, session); break;
        }
    }
    if (session.screen == Screen::replay) finishReplay(program, session);
    saveChoices(program);
    if (session.screen == Screen::play || session.screen == Screen::paused) {
        closeConsoleChannel();
        program.play.snake.clear();
        program.play.snake.shrink_to_fit();
    }
    return 0;
}
