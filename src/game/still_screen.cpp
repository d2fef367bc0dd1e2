#include "game/still_screen.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace {

// Waits no longer than this at a time, so a termination signal is seen soon;
// keys and window events end a wait at once.
constexpr int longestWaitMilliseconds = 50;

}  // namespace

bool stillPictureDue(StillScreen& still) {
    const double now = readClock();
    if (windowShown() && (still.changed || (still.pulsing && now >= still.nextPulse))) return true;
    int wait = longestWaitMilliseconds;
    if (still.pulsing && windowShown())
        wait = std::clamp(static_cast<int>(std::ceil((still.nextPulse - now) * 1000.0)), 1, longestWaitMilliseconds);
    if (waitForEvents(wait)) still.changed = true;
    return false;
}

void notePicturePresented(StillScreen& still) {
    still.changed = false;
    still.nextPulse = readClock() + 1.0 / pulsePicturesPerSecond;
}
