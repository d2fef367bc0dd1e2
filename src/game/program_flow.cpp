#include "game/program_flow.h"

#include <algorithm>
#include <cmath>

#include "game/attract_mode.h"
#include "game/best_score.h"
#include "game/food.h"
#include "game/frame_rules.h"
#include "game/program.h"
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
    runBoardPass(play, program.boardTarget, program.boardCopyTexture, program.textures, program.font);
    runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
    present();
    sleepMilliseconds(frameSleepMilliseconds);
    return true;
}

// The board texture still holds the last board, so a still frame needs only
// the cylinder and the score again, with the word over them. Neither the
// clock nor the rules are touched: nothing moves, pulses or wiggles.
void runPausedFrame(Program& program) {
    const PlayState& play = program.play;
    runCylinderPass(play, boardTexture(program), play.boardHeight, program.light, program.font);
    drawPausedLine(program.font);
    present();
    sleepMilliseconds(frameSleepMilliseconds);
}

}  // namespace

void startUp(Program& program) {
    seedRandom(readClock());
    setUpDisplay();
    TextureImages images;
    makeTextureImages(images);
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
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}

void drawTitleFrame(const Program& program) {
    drawTitleScreen(program.font, program.play.gamePlayed, upperIndex(program.play.snake), program.play.bestScore);
}

TitleOutcome runTitleLoop(Program& program) {
    double idleSince = readClock();
    bool replayed = false;  // one replay per idle spell
    for (;;) {
        drawTitleFrame(program);
        if (keyDown(scanEscape) || terminationRequested()) return TitleOutcome::quit;
        present();
        sleepMilliseconds(frameSleepMilliseconds);
        if (keyDown(scanSpace)) return TitleOutcome::startGame;
        if (anyKeyPressed()) {
            idleSince = readClock();
            replayed = false;
        } else if (!replayed && replayDue(program, readClock() - idleSince)) {
            replayed = true;
            const ReplayOutcome outcome = runReplay(program);
            if (outcome == ReplayOutcome::quit) return TitleOutcome::quit;
            if (outcome == ReplayOutcome::startGame) return TitleOutcome::startGame;
            returnToTitle(program);
            if (outcome == ReplayOutcome::backToTitle) replayed = false;
            idleSince = readClock();
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
}

PlayOutcome runPlayLoop(Program& program) {
    bool paused = false;
    // P pauses on its press: one still held from the title does nothing.
    bool pauseKeyWasDown = keyDown(scanP);
    for (;;) {
        if (paused) {
            runPausedFrame(program);
        } else if (!runPlayFrame(program)) {
            if (noteFinalScore(program.play)) adoptBestGame(program);
            return PlayOutcome::gameOver;
        }
        if (keyDown(scanEscape) || terminationRequested()) return PlayOutcome::quit;
        const bool pauseKeyDown = keyDown(scanP);
        if (pauseKeyDown && !pauseKeyWasDown) {
            paused = !paused;
            // Measured from here, the next frame leaves the paused time out.
            if (!paused) program.play.lastClock = readClock();
        }
        pauseKeyWasDown = pauseKeyDown;
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
