// Process CPU (all threads, as a share of one core) of the still screens as
// the game runs them (the first title, a paused game, the pulsing title after
// a game), with no gamepad and then with one plugged in (SDL's virtual pad):
// with a pad SDL polls it while waiting. Run under xvfb-run; prints one line
// per case.
#include <SDL2/SDL.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include "game/program.h"
#include "game/program_flow.h"
#include "game/still_screen.h"
#include "platform/platform.h"
#include "rules/snake_rules.h"

namespace {

Program program;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

enum class Screen { firstTitle, paused, titleAfterGame };

// Runs the screen as the game's loop does for the given seconds.
void measure(const char* what, Screen screen, double seconds) {
    program.play.gamePlayed = screen == Screen::titleAfterGame;
    StillScreen still{true, screen == Screen::titleAfterGame, 0.0};
    const double startCpu = cpuSeconds();
    const double start = readClock();
    while (readClock() - start < seconds) {
        if (!stillPictureDue(still)) continue;
        if (screen == Screen::paused)
            drawPausedFrame(program);
        else
            drawTitleFrame(program);
        present();
        notePicturePresented(still);
    }
    const double share = (cpuSeconds() - startCpu) / (readClock() - start);
    std::printf("%-34s %6.1f %% of a core\n", what, 100.0 * share);  // NOLINT(cert-err33-c): a figure to read
}

void measureAll(const char* pad, double seconds) {
    char what[64];
    for (const auto& [name, screen] :
         {std::pair{"first title", Screen::firstTitle}, std::pair{"paused", Screen::paused},
          std::pair{"title after a game", Screen::titleAfterGame}}) {
        std::snprintf(what, sizeof what, "%s, %s", name, pad);  // NOLINT(cert-err33-c): it fits
        measure(what, screen, seconds);
    }
}

}  // namespace

int main() {
    // Start-up prints every extension name; keep them out of the figures.
    static_cast<void>(std::fflush(stdout));
    const int savedStdout = dup(1);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    startUp(program);
    static_cast<void>(std::fflush(stdout));
    dup2(savedStdout, 1);
    close(devNull);
    close(savedStdout);
    resetSnake(program.play.snake);
    measureAll("no pad", 5.0);
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "bench pad";
    if (SDL_JoystickAttachVirtualEx(&desc) < 0) return 1;
    measureAll("one pad", 5.0);
    endProgram(0);
}
