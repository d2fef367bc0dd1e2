#include "render/board_target.h"

#include <cstring>
#include <initializer_list>

#include "render/frame_viewport.h"
#include "render/framebuffer_api.h"
#include "render/gl.h"

namespace {

// Mesa's software rasterisers filter anisotropically at a cost of up to
// seconds a frame where the tilted cylinder is seen edge-on; there the board
// is sampled without it.
bool isSoftwareRasterizer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (std::strstr(renderer, name)) return true;
    return false;
}

}  // namespace

bool createBoardTarget(BoardTarget& target, std::int32_t width, std::int32_t height, bool withDepth) {
    const FramebufferApi& api = framebufferApi;
    if (!api.glBindFramebufferEXT) return false;
    // A driver that names the extension but lacks an entry would crash below.
    if (!api.glGenFramebuffersEXT || !api.glFramebufferTexture2DEXT || !api.glCheckFramebufferStatusEXT ||
        !api.glGenerateMipmapEXT)
        return false;
    if (withDepth && (!api.glGenRenderbuffersEXT || !api.glBindRenderbufferEXT || !api.glRenderbufferStorageEXT ||
                      !api.glFramebufferRenderbufferEXT))
        return false;
    glGenTextures(1, &target.colorTexture);
    glBindTexture(GL_TEXTURE_2D, target.colorTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    api.glGenerateMipmapEXT(GL_TEXTURE_2D);
    // Rejected without change by a driver that has no anisotropic filtering.
    GLfloat maxAnisotropy = 0.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy);
    if (isSoftwareRasterizer()) maxAnisotropy = 1.0f;
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maxAnisotropy);
    api.glGenFramebuffersEXT(1, &target.framebuffer);
    api.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    api.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, target.colorTexture, 0);
    if (withDepth) {
        api.glGenRenderbuffersEXT(1, &target.depthBuffer);
        api.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depthBuffer);
        api.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, width, height);
        api.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                         target.depthBuffer);
    }
    if (api.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        // Go back to the window so that whatever is drawn next is seen.
        api.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        return false;
    }
    target.width = static_cast<std::uint32_t>(width);
    target.height = static_cast<std::uint32_t>(height);
    api.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return true;
}

void bindBoardTarget(const BoardTarget& target) {
    if (!framebufferApi.glBindFramebufferEXT) return;
    framebufferApi.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    glViewport(0, 0, static_cast<GLsizei>(target.width), static_cast<GLsizei>(target.height));
}

void unbindBoardTarget() {
    if (!framebufferApi.glBindFramebufferEXT) return;
    framebufferApi.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    setFrameViewport();
}

void releaseBoardTarget(BoardTarget& target) {
    if (target.framebuffer != 0) {
        framebufferApi.glDeleteFramebuffersEXT(1, &target.framebuffer);
        glDeleteTextures(1, &target.colorTexture);
    }
    if (target.depthBuffer != 0) framebufferApi.glDeleteRenderbuffersEXT(1, &target.depthBuffer);
}
