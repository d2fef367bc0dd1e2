#include "platform/gamepad_keys.h"

#include <SDL2/SDL_gamecontroller.h>

#include "platform/platform.h"

namespace {

// Half of the axis range; a resting stick often reads a few thousand off centre.
constexpr int halfDeflection = 16384;

PadKeys keys(int first, int second = 0) {
    PadKeys pad;
    pad.codes[0] = first;
    pad.codes[1] = second;
    pad.count = second != 0 ? 2 : 1;
    return pad;
}

}  // namespace

PadKeys pcScanCodesForPadButton(int sdlButton) {
    switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return keys(scanUp);
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return keys(scanDown);
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return keys(scanLeft);
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return keys(scanRight);
    case SDL_CONTROLLER_BUTTON_A: return keys(scanSpace);
    case SDL_CONTROLLER_BUTTON_START: return keys(scanSpace, scanP);
    case SDL_CONTROLLER_BUTTON_BACK: return keys(scanEscape);
    case SDL_CONTROLLER_BUTTON_X: return keys(scanC);
    case SDL_CONTROLLER_BUTTON_Y: return keys(scanM);
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return keys(scanB);
    default: return PadKeys{};
    }
}

int pcScanCodeForStick(int sdlAxis, int value) {
    if (sdlAxis == SDL_CONTROLLER_AXIS_LEFTX) {
        if (value >= halfDeflection) return scanRight;
        if (value <= -halfDeflection) return scanLeft;
    } else if (sdlAxis == SDL_CONTROLLER_AXIS_LEFTY) {
        if (value >= halfDeflection) return scanDown;
        if (value <= -halfDeflection) return scanUp;
    }
    return 0;
}
