#pragma once

struct LightParams {
    float ambient[4] = {};
    float diffuse[4] = {};
    float specular[4] = {};
    float position[4] = {};
};

// The console channel the start-up messages go to: setUpDisplay opens it,
// closeConsoleChannel closes it, nothing else writes to it.
extern int consoleChannel;
void closeConsoleChannel();

// Opens the window (ending the program with status 1 when it cannot), sets
// the start-up GL state, opens the console and probes for off-screen support.
void setUpDisplay();
void probeFramebufferSupport();
// Once the font is made: faces are never culled again, the cylinder's far
// side is hidden by the depth test.
void stopCullingFaces();
void setUpLight(LightParams& light, const float (&ambient)[4], const float (&diffuse)[4], const float (&specular)[4],
                const float (&position)[4]);
