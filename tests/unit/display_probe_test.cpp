// The off-screen probe and the start-up display, against a scripted platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "render/display_setup.h"
#include "render/framebuffer_api.h"
#include "support/scripted_platform.h"

namespace {

class Probe : public ::testing::Test {
protected:
    void SetUp() override {
        resetScriptedPlatform();
        framebufferApi = FramebufferApi{};
        consoleChannel = openConsole();
    }
    void TearDown() override { framebufferApi = FramebufferApi{}; }
};

TEST_F(Probe, PrintsEachNameWithItsSpaceThenTheSupportLineAndLoadsAllEntries) {
    scripted().extensions = "GL_ARB_multitexture GL_EXT_framebuffer_object WGL_EXT_swap_control ";
    probeFramebufferSupport();
    std::vector<std::string> expected = {"GL_ARB_multitexture \r\n", "GL_EXT_framebuffer_object \r\n",
                                         "WGL_EXT_swap_control \r\n", "GL_EXT_framebuffer_object is supported\r\n"};
    EXPECT_EQ(scripted().consoleLines, expected);
    // Each entry point by its own name, once; the order does not matter.
    std::vector<std::string> names = {
        "glBindFramebufferEXT",      "glBindRenderbufferEXT",    "glCheckFramebufferStatusEXT",
        "glDeleteFramebuffersEXT",   "glDeleteRenderbuffersEXT", "glFramebufferRenderbufferEXT",
        "glFramebufferTexture2DEXT", "glGenFramebuffersEXT",     "glGenRenderbuffersEXT",
        "glGenerateMipmapEXT",       "glRenderbufferStorageEXT"};
    std::vector<std::string> lookedUp = scripted().lookedUp;
    std::sort(lookedUp.begin(), lookedUp.end());
    EXPECT_EQ(lookedUp, names);
    EXPECT_NE(framebufferApi.glBindFramebufferEXT, nullptr);
    EXPECT_NE(framebufferApi.glGenerateMipmapEXT, nullptr);
}

TEST_F(Probe, ALastNameWithoutSpaceAndALongerNameContainingTheSearchedOneCount) {
    scripted().extensions = "GL_ARB_one GL_EXT_framebuffer_object_plus";
    probeFramebufferSupport();
    std::vector<std::string> expected = {"GL_ARB_one \r\n", "GL_EXT_framebuffer_object_plus\r\n",
                                         "GL_EXT_framebuffer_object is supported\r\n"};
    EXPECT_EQ(scripted().consoleLines, expected);
    EXPECT_EQ(scripted().lookedUp.size(), 11u);
}

TEST_F(Probe, WithoutTheExtensionSaysSoAndLoadsNothing) {
    scripted().extensions = "GL_ARB_multitexture GL_EXT_framebuffer_blit ";
    probeFramebufferSupport();
    ASSERT_EQ(scripted().consoleLines.size(), 3u);
    EXPECT_EQ(scripted().consoleLines.back(), "GL_EXT_framebuffer_object is NOT supported\r\n");
    EXPECT_TRUE(scripted().lookedUp.empty());
    EXPECT_EQ(framebufferApi.glBindFramebufferEXT, nullptr);
}

TEST_F(Probe, AnEmptyStringGivesOnlyTheNotSupportedLine) {
    probeFramebufferSupport();
    std::vector<std::string> expected = {"GL_EXT_framebuffer_object is NOT supported\r\n"};
    EXPECT_EQ(scripted().consoleLines, expected);
}

TEST(DisplaySetUp, ADisplayThatCannotOpenEndsTheProgramWithStatusOne) {
    resetScriptedPlatform();
    scripted().displayOpens = false;
    try {
        setUpDisplay();
        FAIL() << "setUpDisplay went on without a display";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, 1);
    }
    EXPECT_TRUE(scripted().consoleLines.empty());
}

}  // namespace
