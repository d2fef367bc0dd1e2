#include "platform/write_signals.h"

#include <csignal>

void ignoreWriteSignals() {
    // Either only fails for a signal number that does not exist.
    static_cast<void>(std::signal(SIGPIPE, SIG_IGN));
    static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));
}
