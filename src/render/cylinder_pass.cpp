#include "render/cylinder_pass.h"

#include <cmath>

#include "render/board_target.h"
#include "render/display_setup.h"
#include "render/font.h"
#include "render/frame_viewport.h"
#include "render/framebuffer_api.h"
#include "render/gl.h"
#include "render/projection_2d.h"
#include "render/window_size.h"
#include "state/play_state.h"

namespace {

constexpr double fieldOfView = 60.0;
constexpr double aspectRatio = 1.3333333333333333;
constexpr double nearPlane = 0.1;
constexpr double farPlane = 500.0;
constexpr double eyeDistance = 22.0;
constexpr float radius = 5.0f;
constexpr float halfHeight = 10.0f;
constexpr int facetDegrees = 10;
constexpr int lastFacetDegrees = 350;
constexpr float degreesToRadians = 0.017453292f;
constexpr double turnPerBoardPixel = 0.705;
constexpr double turnOffset = -90.0;
constexpr double tiltDivisor = 3.0;
constexpr float scoreLineY = 760.0f;

void setMaterial() {
    const GLfloat ambient[4] = {0.35f, 0.35f, 0.35f, 1.0f};
    const GLfloat diffuse[4] = {0.45f, 0.45f, 0.45f, 1.0f};
    const GLfloat specular[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 32.0f);
}

// 36 flat facets; board column x sits at angle 360 (1 - x / W), so x grows to
// the right on the side facing the camera.
void drawCylinder() {
    for (int a = 0; a <= lastFacetDegrees; a += facetDegrees) {
        const float c1 = std::cos(static_cast<float>(a) * degreesToRadians);
        const float s1 = std::sin(static_cast<float>(a) * degreesToRadians);
        const float c2 = std::cos(static_cast<float>(a + facetDegrees) * degreesToRadians);
        const float s2 = std::sin(static_cast<float>(a + facetDegrees) * degreesToRadians);
        const float p1[3] = {radius * c1, halfHeight, radius * s1};
        const float p2[3] = {radius * c2, halfHeight, radius * s2};
        const float p3[3] = {radius * c2, -halfHeight, radius * s2};
        const float p4[3] = {radius * c1, -halfHeight, radius * s1};
        const float e1[3] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
        const float e2[3] = {p3[0] - p1[0], p3[1] - p1[1], p3[2] - p1[2]};
        float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        const float inverseLength = 1.0f / std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        n[0] *= inverseLength;
        n[1] *= inverseLength;
        n[2] *= inverseLength;
        const float u1 = 1.0f - static_cast<float>(a) / 360.0f;
        const float u2 = 1.0f - static_cast<float>(a + facetDegrees) / 360.0f;
        glBegin(GL_QUADS);
        glNormal3fv(n);
        glTexCoord2f(u1, 1.0f);
        glVertex3fv(p1);
        glTexCoord2f(u2, 1.0f);
        glVertex3fv(p2);
        glTexCoord2f(u2, 0.0f);
        glVertex3fv(p3);
        glTexCoord2f(u1, 0.0f);
        glVertex3fv(p4);
        glEnd();
    }
}

void drawScoreLine(const Font& font, std::string_view label, int number) {
    const NumberedText text = textWithNumber(label, number);
    pushOrtho2D(windowWidth, windowHeight);
    glDisable(GL_LIGHTING);
    drawText(text.view(), font.texture, font.listBase,
             static_cast<float>(windowWidth) / 2.0f - 8.0f * static_cast<float>(text.length), scoreLineY, 0.0f, 1.0f,
             1.0f, 1.0f);
    glEnable(GL_LIGHTING);
    popOrtho2D();
}

}  // namespace

void runCylinderPass(const PlayState& play, std::uint32_t boardTexture, std::uint32_t boardHeight,
                     const LightParams& light, const Font& font, std::string_view scoreLabel, int shownScore) {
    unbindBoardTarget();
    // Every frame that draws, paused or not and with or without a board
    // target: the window may have been resized since the last one.
    setFrameViewport();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspectRatio, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, eyeDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);

    // Given under the camera alone, the light stands still while the cylinder turns.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, light.position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light.specular);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, boardTexture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR_MIPMAP_LINEAR));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // The board was just redrawn; near the silhouettes the cylinder samples the
    // smaller levels, which would otherwise still hold whatever creation left.
    // The copy texture made without off-screen rendering rebuilds its own as
    // the board is copied in; building them again would only cost time.
    GLint rebuildsItsOwn = GL_FALSE;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, &rebuildsItsOwn);
    if (framebufferApi.glGenerateMipmapEXT && !rebuildsItsOwn) framebufferApi.glGenerateMipmapEXT(GL_TEXTURE_2D);

    // Turned about the axis first, then tipped, so the head's column faces the
    // camera and the head's row is pulled toward the middle.
    const double tilt = (-static_cast<double>(play.viewY) - boardHeight / 2.0) / tiltDivisor;
    const double turn = static_cast<double>(play.viewX) * turnPerBoardPixel + turnOffset;
    glRotatef(static_cast<GLfloat>(tilt), 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<GLfloat>(turn), 0.0f, 1.0f, 0.0f);

    setMaterial();
    drawCylinder();
    drawScoreLine(font, scoreLabel, shownScore >= 0 ? shownScore : upperIndex(play.snake));
}
