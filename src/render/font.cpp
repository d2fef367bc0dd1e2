#include "render/font.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "render/gl.h"

NumberedText textWithNumber(std::string_view label, int number) {
    NumberedText text;
    char* const digitsEnd = text.characters + sizeof text.characters;
    const std::size_t labelLength = std::min(label.size(), sizeof text.characters - 12);
    char* const labelEnd = std::copy_n(label.data(), labelLength, text.characters);
    text.length = static_cast<std::size_t>(std::to_chars(labelEnd, digitsEnd, number).ptr - text.characters);
    return text;
}

void buildFont(std::uint32_t& listBase, float columns, float rows, int halfSize) {
    listBase = glGenLists(256);
    const float sStep = static_cast<float>(1.0 / columns);
    const float tStep = static_cast<float>(1.0 / rows);
    const long lastRow = std::lround(rows - 1.0f);
    const long lastColumn = std::lround(columns - 1.0f);
    const int h = halfSize;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    // The font image holds the glyph grid upside down, so the top texture row
    // carries codes 0 to 15 and list listBase + k shows code k upright.
    std::uint32_t code = 0;
    for (long n = lastRow; n >= 0; --n) {
        for (long i = 0; i <= lastColumn; ++i) {
            const float sLeft = static_cast<float>(i) * sStep;
            const float sRight = static_cast<float>(i + 1) * sStep;
            const float tBottom = static_cast<float>(n) * tStep;
            const float tTop = static_cast<float>(n + 1) * tStep;
            glNewList(listBase + code, GL_COMPILE);
            glBegin(GL_QUADS);
            glTexCoord2f(sLeft, tTop);
            glVertex2i(-h, h);
            glTexCoord2f(sLeft, tBottom);
            glVertex2i(-h, -h);
            glTexCoord2f(sRight, tBottom);
            glVertex2i(h, -h);
            glTexCoord2f(sRight, tTop);
            glVertex2i(h, h);
            glEnd();
            // The pen advance lives in the list, so one glCallLists draws a whole line.
            glTranslatef(static_cast<float>(2 * h), 0.0f, 0.0f);
            glEndList();
            ++code;
        }
    }
    glPopMatrix();
}

void drawText(std::string_view text, std::uint32_t texture, std::uint32_t listBase, float x, float y, float z, float r,
              float g, float b) {
    const auto length = static_cast<GLsizei>(text.size());
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    // Nearest filtering keeps the twice-magnified glyph pixels square and sharp.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPushMatrix();
    glTranslatef(x, y, z);
    glColor3d(r, g, b);
    glListBase(listBase);
    glCallLists(length, GL_UNSIGNED_BYTE, text.data());
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
