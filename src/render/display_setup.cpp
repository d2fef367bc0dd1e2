#include "render/display_setup.h"

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "render/frame_viewport.h"
#include "render/framebuffer_api.h"
#include "render/gl.h"
#include "render/window_size.h"

FramebufferApi framebufferApi;
int consoleChannel = 0;

namespace {

template <typename Entry>
void loadEntry(Entry& entry, const char* name) {
    entry = reinterpret_cast<Entry>(glEntryPoint(name));
}

}  // namespace

void setUpDisplay() {
    requestDepthBits(24);
    requestSamples(4);
    // A process without a window could never be ended by a key, so a display
    // that cannot be opened ends the program here.
    if (!openDisplay(windowWidth, windowHeight, 32)) endProgram(1);
    setFrameViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.3333333333333333, 1.0, 1000.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_COLOR_MATERIAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    consoleChannel = openConsole();
    probeFramebufferSupport();
}

void closeConsoleChannel() { closeConsole(consoleChannel); }

void stopCullingFaces() { glDisable(GL_CULL_FACE); }

void probeFramebufferSupport() {
    const std::string names = glExtensionString();
    // One line per name, each with the space that ends it.
    std::size_t start = 0;
    while (start < names.size()) {
        std::size_t space = names.find(' ', start);
        std::size_t end = space == std::string::npos ? names.size() : space + 1;
        if (names[start] != ' ') writeConsoleLine(consoleChannel, std::string_view(names).substr(start, end - start));
        start = end;
    }
    if (names.find("GL_EXT_framebuffer_object") == std::string::npos) {
        writeConsoleLine(consoleChannel, "GL_EXT_framebuffer_object is NOT supported");
        return;
    }
    writeConsoleLine(consoleChannel, "GL_EXT_framebuffer_object is supported");
    FramebufferApi& api = framebufferApi;
    loadEntry(api.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    loadEntry(api.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    loadEntry(api.glBindFramebufferEXT, "glBindFramebufferEXT");
    loadEntry(api.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    loadEntry(api.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
    loadEntry(api.glGenRenderbuffersEXT, "glGenRenderbuffersEXT");
    loadEntry(api.glBindRenderbufferEXT, "glBindRenderbufferEXT");
    loadEntry(api.glRenderbufferStorageEXT, "glRenderbufferStorageEXT");
    loadEntry(api.glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT");
    loadEntry(api.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    loadEntry(api.glGenerateMipmapEXT, "glGenerateMipmapEXT");
}

void setUpLight(LightParams& light, const float (&ambient)[4], const float (&diffuse)[4], const float (&specular)[4],
                const float (&position)[4]) {
    for (int i = 0; i < 4; ++i) {
        light.ambient[i] = ambient[i];
        light.diffuse[i] = diffuse[i];
        light.specular[i] = specular[i];
        light.position[i] = position[i];
    }
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light.specular);
    glLightfv(GL_LIGHT0, GL_POSITION, light.position);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
}
