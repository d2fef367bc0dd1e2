// Clock, sleep, console channels, GL lookups (over SDL2 and GLX) and the
// recording named on the command line.
#include <GL/gl.h>
#include <GL/glx.h>
#include <SDL2/SDL.h>

#include <array>
#include <cstdio>
#include <stdio_ext.h>
#include <string>

#include "platform/best_game_file.h"
#include "platform/platform.h"

namespace {

constexpr std::size_t maxExtensionLength = 16383;
constexpr int lowestChannel = 1;
constexpr int highestChannel = 255;

std::array<bool, highestChannel + 1> channelOpen{};

void appendNames(std::string& into, const char* names) {
    if (!names || !*names) return;
    if (!into.empty() && into.back() != ' ') into += ' ';
    into += names;
}

// Nobody reads standard output any more (SIGPIPE is ignored): forget what is
// buffered and the error, so the game plays on without retrying it.
void dropUnwritten() {
    __fpurge(stdout);
    std::clearerr(stdout);
}

}  // namespace

double readClock() {
    static const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    if (frequency > 0) return static_cast<double>(SDL_GetPerformanceCounter()) / frequency;
    return SDL_GetTicks() * 0.001;
}

void sleepMilliseconds(int milliseconds) { SDL_Delay(static_cast<Uint32>(milliseconds)); }

int openConsole() {
    for (int channel = lowestChannel; channel <= highestChannel; ++channel) {
        if (!channelOpen[channel]) {
            channelOpen[channel] = true;
            return channel;
        }
    }
    return 0;
}

void writeConsoleLine(int channel, std::string_view text) {
    if (channel < lowestChannel || channel > highestChannel || !channelOpen[channel]) return;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                         std::fputs("\r\n", stdout) != EOF;
    if (!written) dropUnwritten();
}

void closeConsole(int channel) {
    if (channel < lowestChannel || channel > highestChannel || !channelOpen[channel]) return;
    channelOpen[channel] = false;
    if (std::fflush(stdout) != 0) dropUnwritten();
}

std::string glExtensionString() {
    std::string names;
    if (!SDL_GL_GetCurrentContext()) return names;
    appendNames(names, reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    if (Display* x = glXGetCurrentDisplay()) appendNames(names, glXQueryExtensionsString(x, DefaultScreen(x)));
    if (names.size() > maxExtensionLength) names.resize(maxExtensionLength);
    return names;
}

void* glEntryPoint(const char* name) {
    if (!SDL_GL_GetCurrentContext()) return nullptr;
    return SDL_GL_GetProcAddress(name);
}

bool readRecordingFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& what) {
    what = readRecordingFileBytes(path, bytes, largestBestGameBytes).problem;
    return what.empty();
}
