#include "platform/x_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace {

XErrorHandler previousHandler = nullptr;

int ignoreLateWakeUp(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

}  // namespace

void tolerateWakeUpsToClosedWindows() {
    // SDL keeps the handler it finds and calls it for the errors it does not
    // handle itself, so ours stays in the chain.
    if (previousHandler == nullptr) previousHandler = XSetErrorHandler(ignoreLateWakeUp);
}
