#include "platform/sdl_gamepads.h"

#include <cstddef>

#include "platform/gamepad_keys.h"
#include "platform/key_state.h"

namespace {

SDL_JoystickID instanceOf(SDL_GameController* pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

void openPad(Gamepads& pads, int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    SDL_GameController** freeSlot = nullptr;
    for (SDL_GameController*& slot : pads.open) {
        if (slot && instanceOf(slot) == id) return;
        if (!slot && !freeSlot) freeSlot = &slot;
    }
    if (!freeSlot) return;
    *freeSlot = SDL_GameControllerOpen(deviceIndex);
    pads.stickKeys[static_cast<std::size_t>(freeSlot - pads.open.data())] = {};
}

void closePad(Gamepads& pads, SDL_JoystickID id) {
    for (SDL_GameController*& slot : pads.open) {
        if (slot && instanceOf(slot) == id) {
            SDL_GameControllerClose(slot);
            slot = nullptr;
        }
    }
}

// The slot of an open pad, or -1.
int slotOf(const Gamepads& pads, SDL_JoystickID id) {
    for (std::size_t i = 0; i < pads.open.size(); ++i)
        if (pads.open[i] && instanceOf(pads.open[i]) == id) return static_cast<int>(i);
    return -1;
}

bool isOpen(const Gamepads& pads, SDL_JoystickID id) { return slotOf(pads, id) >= 0; }

// True when the stick entered a direction.
bool noteStickMotion(Gamepads& pads, KeyState& keys, const SDL_ControllerAxisEvent& motion) {
    const int slot = slotOf(pads, motion.which);
    if (slot < 0 || (motion.axis != SDL_CONTROLLER_AXIS_LEFTX && motion.axis != SDL_CONTROLLER_AXIS_LEFTY))
        return false;
    int& before = pads.stickKeys[static_cast<std::size_t>(slot)][motion.axis == SDL_CONTROLLER_AXIS_LEFTX ? 0 : 1];
    const int now = pcScanCodeForStick(motion.axis, motion.value);
    const bool entered = now != before && now != 0;
    if (entered) notePress(keys, now);
    before = now;
    return entered;
}

}  // namespace

void startGamepads(Gamepads& pads) { pads.started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0; }

bool handleGamepadEvent(Gamepads& pads, KeyState& keys, const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: openPad(pads, event.cdevice.which); return false;
    case SDL_CONTROLLERDEVICEREMOVED: closePad(pads, event.cdevice.which); return false;
    case SDL_CONTROLLERBUTTONDOWN: {
        if (!isOpen(pads, event.cbutton.which)) return false;
        const PadKeys pressed = pcScanCodesForPadButton(event.cbutton.button);
        for (int i = 0; i < pressed.count; ++i) notePress(keys, pressed.codes[i]);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: return noteStickMotion(pads, keys, event.caxis);
    default: return false;
    }
}

bool anyPadOpen(const Gamepads& pads) {
    for (SDL_GameController* pad : pads.open)
        if (pad) return true;
    return false;
}

void addHeldPadKeys(const Gamepads& pads, KeyState& keys) {
    for (SDL_GameController* pad : pads.open) {
        if (!pad) continue;
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
            if (!SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(button))) continue;
            const PadKeys held = pcScanCodesForPadButton(button);
            for (int i = 0; i < held.count; ++i) addHeldKey(keys, held.codes[i]);
        }
        for (SDL_GameControllerAxis axis : {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY})
            addHeldKey(keys, pcScanCodeForStick(axis, SDL_GameControllerGetAxis(pad, axis)));
    }
}
