#include "render/title_screen.h"

#include "render/gl.h"
#include "render/projection_2d.h"

// Placeholder until the font lands: a cleared screen.
void drawTitleScreen(const Font&, bool, int) {
    pushOrtho2D(1024, 768);
    glClear(GL_COLOR_BUFFER_BIT);
    popOrtho2D();
}
