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

// Leaves no entry points loaded for the tests after it.
class Probe : public ::testing::Test {
protected:
    void TearDown() override { framebufferApi = FramebufferApi{}; }
};

// Each name on a line of its own with the space that ends it, then whether
// the off-screen extension is there (a longer name holding it counts); its
// entry points are looked up only then, each by its own name.
TEST_F(Probe, PrintsEachNameThenTheSupportLineAndLoadsTheEntriesOnlyWithTheExtension) {
    const std::vector<std::string> entries = {
        "glBindFramebufferEXT",      "glBindRenderbufferEXT",    "glCheckFramebufferStatusEXT",
        "glDeleteFramebuffersEXT",   "glDeleteRenderbuffersEXT", "glFramebufferRenderbufferEXT",
        "glFramebufferTexture2DEXT", "glGenFramebuffersEXT",     "glGenRenderbuffersEXT",
        "glGenerateMipmapEXT",       "glRenderbufferStorageEXT"};
    const struct {
        const char* extensions;
        std::vector<std::string> lines;
        bool supported;
    } cases[] = {
        {"GL_ARB_multitexture GL_EXT_framebuffer_object WGL_EXT_swap_control ",
         {"GL_ARB_multitexture \r\n", "GL_EXT_framebuffer_object \r\n", "WGL_EXT_swap_control \r\n",
          "GL_EXT_framebuffer_object is supported\r\n"},
         true},
        {"GL_ARB_one GL_EXT_framebuffer_object_plus",
         {"GL_ARB_one \r\n", "GL_EXT_framebuffer_object_plus\r\n", "GL_EXT_framebuffer_object is supported\r\n"},
         true},
        {"GL_ARB_multitexture GL_EXT_framebuffer_blit ",
         {"GL_ARB_multitexture \r\n", "GL_EXT_framebuffer_blit \r\n", "GL_EXT_framebuffer_object is NOT supported\r\n"},
         false},
        {"", {"GL_EXT_framebuffer_object is NOT supported\r\n"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extensions);
        resetScriptedPlatform();
        framebufferApi = FramebufferApi{};
        consoleChannel = openConsole();
        scripted().extensions = c.extensions;
        probeFramebufferSupport();
        EXPECT_EQ(scripted().consoleLines, c.lines);
        std::vector<std::string> lookedUp = scripted().lookedUp;
        std::sort(lookedUp.begin(), lookedUp.end());
        EXPECT_EQ(lookedUp, c.supported ? entries : std::vector<std::string>{});
        EXPECT_EQ(framebufferApi.glBindFramebufferEXT != nullptr, c.supported);
        EXPECT_EQ(framebufferApi.glGenerateMipmapEXT != nullptr, c.supported);
    }
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
