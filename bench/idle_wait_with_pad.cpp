// Process CPU (all threads, as a share of one core) of the game's wait for
// events on a still screen, with no gamepad and then with one plugged in
// (SDL's virtual pad): with a pad SDL polls it while waiting. Run under
// xvfb-run; prints one line per case.
#include <SDL2/SDL.h>

#include <sys/resource.h>

#include <cstdio>

#include "platform/platform.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Waits as the still title does, 50 ms at a time, for the given seconds.
void measure(const char* what, double seconds) {
    const double startCpu = cpuSeconds();
    const double start = readClock();
    while (readClock() - start < seconds) static_cast<void>(waitForEvents(50));
    const double share = (cpuSeconds() - startCpu) / (readClock() - start);
    std::printf("%-24s %6.1f %% of a core\n", what, 100.0 * share);  // NOLINT(cert-err33-c): a figure to read
}

}  // namespace

int main() {
    if (!openDisplay(1024, 768, 32)) return 1;
    present();
    measure("waiting, no pad", 5.0);
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "bench pad";
    if (SDL_JoystickAttachVirtualEx(&desc) < 0) return 1;
    measure("waiting, one pad", 5.0);
    endProgram(0);
}
