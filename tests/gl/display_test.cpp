// What the real window and context turned out to be.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdio>

#include "gl/gl_probe.h"
#include "platform/platform.h"

namespace {

TEST(Display, MultisamplingIsOnExactlyWhenTheFormatHasSamples) {
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    std::printf("GL_VERSION %s | GL_RENDERER %s | samples %d\n", glGetString(GL_VERSION), glGetString(GL_RENDERER),
                samples);
    EXPECT_EQ(glIsEnabled(GL_MULTISAMPLE) == GL_TRUE, samples > 0);
    EXPECT_TRUE(samples == 0 || samples == 2 || samples >= 4) << samples;
}

TEST(Display, TheContextIsDoubleBufferedRgba8WithDepthAndNoStencil) {
    GLint red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = -1;
    GLboolean doubleBuffered = GL_FALSE;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(red, 8);
    EXPECT_EQ(green, 8);
    EXPECT_EQ(blue, 8);
    EXPECT_EQ(alpha, 8);
    EXPECT_GE(depth, 24);
    EXPECT_EQ(stencil, 0);
    EXPECT_TRUE(doubleBuffered);
}

TEST(Display, TheExtensionStringEndsWithTheWindowSystemNamesAndFitsTheLimit) {
    std::string names = glExtensionString();
    EXPECT_LE(names.size(), 16383u);
    EXPECT_EQ(names.rfind("GL_", 0), 0u);
    std::size_t firstGlx = names.find("GLX_");
    ASSERT_NE(firstGlx, std::string::npos);
    EXPECT_EQ(names.find(" GL_", firstGlx), std::string::npos) << "GL names come first, then GLX names";
    EXPECT_EQ(names.find("  "), std::string::npos) << "one space between the two lists";
}

TEST(Display, NoTextInputSoNoInputMethodSitsBetweenTheKeysAndTheGame) { EXPECT_FALSE(SDL_IsTextInputActive()); }

}  // namespace
