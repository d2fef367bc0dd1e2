// The player's choices kept by an earlier run hold from the first title on.
#include <gtest/gtest.h>

#include "game/program.h"
#include "game/program_flow.h"
#include "platform/platform.h"
#include "render/framebuffer_api.h"
#include "support/scripted_platform.h"

namespace {

// Start-up goes on to upload pictures, which needs a GL context that the
// window-less tests lack; it is stopped at the board target, after the
// choices are read and before the first upload.
struct StartUpStopped {};

void stopStartUp(GLenum) { throw StartUpStopped{}; }
void neverCalled(GLsizei, GLuint*) {}
void neverCalled(GLenum, GLuint) {}
void neverCalled(GLenum, GLenum, GLenum, GLuint, GLint) {}
GLenum neverCalled(GLenum) { return 0; }

class StopAtTheBoardTarget {
public:
    StopAtTheBoardTarget() {
        framebufferApi = FramebufferApi{};
        framebufferApi.glBindFramebufferEXT = &neverCalled;
        framebufferApi.glGenFramebuffersEXT = &neverCalled;
        framebufferApi.glFramebufferTexture2DEXT = &neverCalled;
        framebufferApi.glCheckFramebufferStatusEXT = &neverCalled;
        framebufferApi.glGenerateMipmapEXT = &stopStartUp;
    }
    ~StopAtTheBoardTarget() { framebufferApi = saved; }
    StopAtTheBoardTarget(const StopAtTheBoardTarget&) = delete;
    StopAtTheBoardTarget& operator=(const StopAtTheBoardTarget&) = delete;

private:
    FramebufferApi saved = framebufferApi;
};

TEST(KeptChoices, SoundAndPaletteHoldFromTheFirstTitle) {
    const struct {
        const char* kept;
        Settings settings;
        int soundOpens;
        bool contrast;
    } cases[] = {
        {"nothing", Settings{}, 1, false},
        {"sound off and the contrast palette", Settings{.soundOn = false, .contrastPalette = true}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kept);
        resetScriptedPlatform();
        scripted().soundRate = 8000;
        scripted().settings = c.settings;
        scriptTap(1.0, scanEscape);
        Program program;
        {
            const StopAtTheBoardTarget stop;
            EXPECT_THROW(startUp(program), StartUpStopped);
        }
        EXPECT_NO_THROW(runSession(program));
        EXPECT_EQ(scripted().soundOpens, c.soundOpens);
        EXPECT_EQ(program.contrastPalette, c.contrast);
    }
}

}  // namespace
