#include "game/program_flow.h"

#include <algorithm>
#include <cmath>

#include "game/attract_mode.h"
#include "game/best_score.h"
#include "game/food.h"
#include "game/frame_rules.h"
#include "game/palette_switch.h"
#include "game/program.h"
#include "game/sound_flow.h"
#include "platform/platform.h"
#include "render/board_pass.h"
#include "render/cylinder_pass.h"
#include "render/gl.h"
#include "render/pause_overlay.h"
#include "render/title_screen.h"

namespace {

constexpr int boardTargetWidth = 512;
constexpr int boardTargetHeight = 256;
constexpr int frameSleepMilliseconds = 3;
// A still screen waits for events this long at a time, so that a termination
// signal is seen soon; keys and window events end the wait at once.
constexpr int stillWaitMilliseconds = 50;
// The title after a game pulses its previous score about three times a
// second; 20 pictures a second show that glow smoothly, and on a software
// renderer each costs about 13 ms of CPU, so 60 would keep a core half busy.
constexpr double shortestTitleFrame = 1.0 / 20.0;
// At most 5 pixels of head travel a frame: below 20 frames a second the game
// slows down evenly, and a stall (a suspended laptop, a stopped process) does
// not throw the head across the board.
constexpr double longestFrameTime = 0.05;

// The game time this frame advances everything by: motion, reversal pulse,
// wiggle and trail steps.
void measureFrameTime(PlayState& play) {
    const double now = readClock();
    play.frameTime = std::min(now - play.lastClock, longestFrameTime);
    play.lastClock = readClock();
    noteFrameTime(play.input, play.frameTime);
    play.playTime += play.frameTime;
}

// One play frame. False means the game ended inside it.
bool runPlayFrame(Program& program) {
    PlayState& play = program.play;
    measureFrameTime(play);
    if (!runFrameRules(play)) return false;
    handOverSounds(program);
    runBoardPass(play, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
    present();
    sleepMilliseconds(frameSleepMilliseconds);
    return true;
}

// Waits for events until the clock reaches the time (at least a millisecond
// of it). True when the window needs a new picture.
bool waitUntil(double time) {
    const double left = time - readClock();
    return waitForEvents(std::max(1, static_cast<int>(std::ceil(left * 1000.0))));
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
    if (createBoardTarget(program.boardTarget, boardTargetWidth, boardTargetHeight, false)) {
        program.play.boardWidth = program.boardTarget.width;
        program.play.boardHeight = program.boardTarget.height;
    } else {
        program.boardCopyTexture = createBoardCopyTexture(boardTargetWidth, boardTargetHeight);
    }
    setUpLight(program.light, {0.4f, 0.4f, 0.4f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.65f, 0.65f, 0.65f, 1.0f},
               {0.0f, 0.0f, 50.0f, 1.0f});
    for (int slot = 0; slot < textureSlotCount; ++slot) {
        uploadTexture(program.textures.names[slot], images[slot]);
        freeImage(images[slot]);
    }
    program.font.texture = program.textures.names[fontSlot];
    buildFont(program.font.listBase, 16.0f, 16.0f, 8);
    glDisable(GL_CULL_FACE);
    program.play.bestScore = loadBestScore();
    loadBestGameForReplay(program);
}

void returnToTitle(Program& program) {
    program.play.movingHorizontally = true;
    program.play.movingVertically = false;
    // A device plugged in (or back) since the last game is found here, never in play.
    refreshSound(program);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}

void drawTitleFrame(const Program& program) {
    drawTitleScreen(program.font, program.play.gamePlayed, upperIndex(program.play.snake), program.play.bestScore,
                    !program.sound.on);
}

// The board texture still holds the last board, so a still frame needs only
// the cylinder and the score again, with the word over them. Neither the
// clock nor the rules are touched: nothing moves, pulses or wiggles.
void drawPausedFrame(const Program& program) {
    const PlayState& play = program.play;
    runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
    drawPausedLine(program.font);
}

TitleOutcome runTitleLoop(Program& program) {
    dropPendingPresses();
    allowScreensaver(true);
    // The first title stands still and is drawn only when the window needs
    // it; after a game its previous score pulses.
    const bool pulsing = program.play.gamePlayed;
    bool needsPicture = true;
    double nextFrame = readClock();
    double idleSince = readClock();
    bool replayed = false;  // one replay per idle spell
    for (;;) {
        if (keyDown(scanEscape) || terminationRequested()) return TitleOutcome::quit;
        if (needsPicture || (pulsing && readClock() >= nextFrame)) {
            drawTitleFrame(program);
            present();
            needsPicture = false;
            nextFrame = presentWaitsForRefresh() ? readClock() : readClock() + shortestTitleFrame;
        } else {
            needsPicture = pulsing ? waitUntil(nextFrame) : waitForEvents(stillWaitMilliseconds);
        }
        if (keyDown(scanSpace)) return TitleOutcome::startGame;
        const bool paletteSwitched = switchPaletteIfAsked(program, false);
        // The title says how to turn sound back on while it is off.
        const bool soundSwitched = handleSoundKey(program);
        if (soundSwitched) needsPicture = true;
        if (anyKeyPressed() || paletteSwitched || soundSwitched) {
            idleSince = readClock();
            replayed = false;
        } else if (!replayed && replayDue(program, readClock() - idleSince)) {
            replayed = true;
            const ReplayOutcome outcome = runReplay(program);
            if (outcome == ReplayOutcome::quit) return TitleOutcome::quit;
            if (outcome == ReplayOutcome::startGame) return TitleOutcome::startGame;
            returnToTitle(program);
            dropPendingPresses();
            if (outcome == ReplayOutcome::backToTitle) replayed = false;
            idleSince = readClock();
            needsPicture = true;
        }
    }
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

PlayOutcome runPlayLoop(Program& program) {
    dropPendingPresses();
    static_cast<void>(windowLookedAway());  // the title's does not count
    allowScreensaver(false);
    bool paused = false;
    bool pictureShown = false;
    // P pauses on its press: one still held from the title does nothing.
    bool pauseKeyWasDown = keyDown(scanP);
    for (;;) {
        if (!paused) {
            if (!runPlayFrame(program)) {
                const int bestBefore = program.play.bestScore;
                if (noteFinalScore(program.play))
                    adoptBestGame(program);
                else if (program.play.bestScore != bestBefore)
                    loadBestGameForReplay(program);  // another game of this player kept a better one
                handOverSounds(program);
                return PlayOutcome::gameOver;
            }
        } else if (!pictureShown) {
            drawPausedFrame(program);
            present();
            pictureShown = true;
        } else {
            pictureShown = !waitForEvents(stillWaitMilliseconds);
        }
        if (keyDown(scanEscape) || terminationRequested()) return PlayOutcome::quit;
        const bool pauseKeyDown = keyDown(scanP);
        const bool wasPaused = paused;
        if (pauseKeyDown && !pauseKeyWasDown) paused = !paused;
        pauseKeyWasDown = pauseKeyDown;
        // Looking away pauses as P does, but only the player resumes.
        if (windowLookedAway()) paused = true;
        if (paused != wasPaused) {
            noteEvent(program.play.events, paused ? GameEventKind::pause : GameEventKind::resume);
            handOverSounds(program);
            dropPendingPresses();
            allowScreensaver(paused);
            pictureShown = false;
            // Measured from here, the next frame leaves the paused time out.
            if (!paused) program.play.lastClock = readClock();
        }
        // A paused picture shows the new colours at once.
        if (switchPaletteIfAsked(program, paused) && paused) pictureShown = false;
        handleSoundKey(program);
    }
}

int runSession(Program& program) {
    for (;;) {
        returnToTitle(program);
        if (runTitleLoop(program) == TitleOutcome::quit) return 0;
        startGame(program);
        if (runPlayLoop(program) == PlayOutcome::quit) {
            closeConsole(consoleChannel);
            program.play.snake.clear();
            program.play.snake.shrink_to_fit();
            return 0;
        }
    }
}
