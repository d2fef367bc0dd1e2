// Gamepads as keys, through SDL's virtual joystick in the real platform: the
// pad is plugged in while the window is open, pressed, and pulled out again.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <iterator>

#include "platform/platform.h"

namespace {

constexpr int arrowsAndButtons[] = {scanUp, scanDown,   scanLeft, scanRight, scanSpace,
                                    scanP,  scanEscape, scanC,    scanM,     scanB};
constexpr int keyCount = static_cast<int>(std::size(arrowsAndButtons));

// The keys down after the next present, as a bit set in the order above.
unsigned keysAfterPresent() {
    present();
    unsigned down = 0;
    for (int i = 0; i < keyCount; ++i)
        if (keyDown(arrowsAndButtons[i])) down |= 1u << i;
    return down;
}

constexpr unsigned bitOf(int scanCode) {
    for (int i = 0; i < keyCount; ++i)
        if (arrowsAndButtons[i] == scanCode) return 1u << i;
    return 0;
}

struct VirtualPad {
    int deviceIndex = -1;
    SDL_Joystick* joystick = nullptr;
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "test pad";
        deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
        // A handle of the test's own, to move the pad's buttons and stick.
        if (deviceIndex >= 0) joystick = SDL_JoystickOpen(deviceIndex);
    }
    void detach() {
        if (joystick) SDL_JoystickClose(joystick);
        joystick = nullptr;
        if (deviceIndex >= 0) SDL_JoystickDetachVirtual(deviceIndex);
        deviceIndex = -1;
    }
    ~VirtualPad() { detach(); }
    void button(SDL_GameControllerButton which, bool down) {
        SDL_JoystickSetVirtualButton(joystick, which, down ? 1 : 0);
    }
    void axis(SDL_GameControllerAxis which, int value) {
        SDL_JoystickSetVirtualAxis(joystick, which, static_cast<Sint16>(value));
    }
};

bool windowHasFocus() {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window) return false;
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    for (int i = 0; i < 200; ++i) {
        present();
        if (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) return true;
        SDL_Delay(10);
    }
    return false;
}

TEST(Gamepad, PluggedInAtAnyTimeItSteersStartsAndQuitsLikeTheKeysAndPulledOutItLetsGo) {
    ASSERT_TRUE(windowHasFocus()) << "the pad counts only while the window has the focus";
    VirtualPad pad;
    ASSERT_GE(pad.deviceIndex, 0) << SDL_GetError();
    ASSERT_NE(pad.joystick, nullptr) << SDL_GetError();
    EXPECT_EQ(keysAfterPresent(), 0u);

    const struct {
        SDL_GameControllerButton button;
        unsigned keys;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, bitOf(scanUp)},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, bitOf(scanDown)},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, bitOf(scanLeft)},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, bitOf(scanRight)},
        {SDL_CONTROLLER_BUTTON_A, bitOf(scanSpace)},
        {SDL_CONTROLLER_BUTTON_START, bitOf(scanSpace) | bitOf(scanP)},
        {SDL_CONTROLLER_BUTTON_BACK, bitOf(scanEscape)},
        {SDL_CONTROLLER_BUTTON_X, bitOf(scanC)},
        {SDL_CONTROLLER_BUTTON_Y, bitOf(scanM)},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, bitOf(scanB)},
        {SDL_CONTROLLER_BUTTON_B, 0},
    };
    for (const auto& b : buttons) {
        pad.button(b.button, true);
        EXPECT_EQ(keysAfterPresent(), b.keys) << "button " << b.button;
        EXPECT_TRUE(anyKeyPressed()) << "button " << b.button << " is activity";
        EXPECT_EQ(keysAfterPresent(), b.keys) << "button " << b.button << " still held";
        pad.button(b.button, false);
        EXPECT_EQ(keysAfterPresent(), 0u) << "button " << b.button << " let go";
    }

    // The left stick steers only past half deflection, and only then is it
    // activity (that keeps the title from replaying the best game).
    const struct {
        SDL_GameControllerAxis axis;
        int value;
        unsigned keys;
    } sticks[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, 12000, 0},
        {SDL_CONTROLLER_AXIS_LEFTX, 30000, bitOf(scanRight)},
        {SDL_CONTROLLER_AXIS_LEFTX, -30000, bitOf(scanLeft)},
        {SDL_CONTROLLER_AXIS_LEFTY, -12000, 0},
        {SDL_CONTROLLER_AXIS_LEFTY, -30000, bitOf(scanUp)},
        {SDL_CONTROLLER_AXIS_LEFTY, 32767, bitOf(scanDown)},
        {SDL_CONTROLLER_AXIS_RIGHTX, 32767, 0},
    };
    for (const auto& s : sticks) {
        pad.axis(s.axis, s.value);
        EXPECT_EQ(keysAfterPresent(), s.keys) << "axis " << s.axis << " at " << s.value;
        EXPECT_EQ(anyKeyPressed(), s.keys != 0) << "axis " << s.axis << " at " << s.value;
        pad.axis(s.axis, 0);
        EXPECT_EQ(keysAfterPresent(), 0u) << "axis " << s.axis << " back at rest";
    }

    // A tap shorter than a frame: pressed and let go between two presents.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    SDL_PumpEvents();
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    SDL_PumpEvents();
    EXPECT_EQ(keysAfterPresent(), bitOf(scanRight));
    EXPECT_EQ(keysAfterPresent(), 0u);

    // A stick that wobbles past half deflection pressed its arrow once: let
    // go, it leaves nothing pending.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(keysAfterPresent(), bitOf(scanRight));
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 31000);
    SDL_PumpEvents();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(keysAfterPresent(), 0u);

    // Pulled out with a button held: the key is let go.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(keysAfterPresent(), bitOf(scanLeft));
    pad.detach();
    EXPECT_EQ(keysAfterPresent(), 0u);
    EXPECT_EQ(keysAfterPresent(), 0u);

    // Plugged in again: it works at once.
    VirtualPad again;
    ASSERT_NE(again.joystick, nullptr) << SDL_GetError();
    again.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(keysAfterPresent(), bitOf(scanDown));
}

}  // namespace
