#include "render/title_screen.h"

#include <cmath>

#include "platform/platform.h"
#include "render/font.h"
#include "render/frame_viewport.h"
#include "render/gl.h"
#include "render/projection_2d.h"
#include "render/window_size.h"

void drawTitleScreen(const Font& font, bool gamePlayed, int previousScore, int bestScore, bool soundTurnedOff,
                     bool noSoundOutput, bool bestGamesKept) {
    // Unlit and without the depth test, whatever the cylinder left on.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // The window may have changed size or gone full screen since the last frame.
    setFrameViewport();
    pushOrtho2D(windowWidth, windowHeight);
    glClear(GL_COLOR_BUFFER_BIT);
    drawText("Tubewyrm on the drum!", font.texture, font.listBase, 344.0f, 384.0f, 0.0f, 1.0f, 1.0f, 0.0f);
    drawText("Press Space to play...", font.texture, font.listBase, 336.0f, 364.0f, 0.0f, 1.0f, 1.0f, 0.0f);
    drawText("Press Escape to exit...", font.texture, font.listBase, 328.0f, 344.0f, 0.0f, 1.0f, 1.0f, 0.0f);
    if (gamePlayed) {
        const NumberedText line = textWithNumber("Previous score ", previousScore);
        // Centred on x = 504 like the lines above: glyphs are 16 wide and the
        // pen marks the first glyph's centre.
        const float x = 512.0f - 8.0f * static_cast<float>(line.length);
        // Pulses between dark and mid red about three times a second.
        const float red = static_cast<float>(0.5 + 0.25 * std::sin(20.0 * readClock()));
        drawText(line.view(), font.texture, font.listBase, x, 324.0f, 0.0f, red, 0.0f, 0.0f);
    }
    if (bestScore >= 0) {
        const NumberedText line = textWithNumber("Best score ", bestScore);
        const float x = 512.0f - 8.0f * static_cast<float>(line.length);
        drawText(line.view(), font.texture, font.listBase, x, 304.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    }
    // Below the score lines, centred like the lines at the top.
    if (soundTurnedOff)
        drawText("Press M for sound...", font.texture, font.listBase, 352.0f, 284.0f, 0.0f, 1.0f, 1.0f, 0.0f);
    else if (noSoundOutput)
        drawText("No sound output found...", font.texture, font.listBase, 320.0f, 284.0f, 0.0f, 1.0f, 1.0f, 0.0f);
    // Right under the last line shown.
    const float lastY = soundTurnedOff || noSoundOutput ? 284.0f
                        : bestScore >= 0                ? 304.0f
                        : gamePlayed                    ? 324.0f
                                                        : 344.0f;
    if (bestGamesKept)
        drawText("Press B for best games...", font.texture, font.listBase, 312.0f, lastY - 20.0f, 0.0f, 1.0f, 1.0f,
                 0.0f);
    popOrtho2D();
}

void drawReplayPrompt(const Font& font, std::string_view text) {
    pushOrtho2D(windowWidth, windowHeight);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // Below the drum, clear of the head, which the view keeps in the middle;
    // centred like the title's lines.
    const float x = static_cast<float>(windowWidth) / 2.0f - 8.0f * static_cast<float>(text.size());
    drawText(text, font.texture, font.listBase, x, 24.0f, 0.0f, 1.0f, 1.0f, 0.0f);
    popOrtho2D();
}
