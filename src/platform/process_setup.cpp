// Standard descriptors, the signals of failed writes and the termination
// signals, over POSIX.
#include "platform/process_setup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/platform.h"
#include "platform/write_signals.h"

namespace {

volatile std::sig_atomic_t requestedSignal = 0;

extern "C" void noteTerminationSignal(int signal) { requestedSignal = signal; }

// A library that opens a file or a connection would otherwise be handed
// descriptor 1 and find our console lines in its stream.
void reopenClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lower ones are open, so this is the lowest free descriptor.
        const int opened = open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != fd) {
            dup2(opened, fd);
            close(opened);
        }
    }
}

void handleTerminationSignal(int signal) {
    struct sigaction old {};
    sigaction(signal, nullptr, &old);
    // Ignored by whoever started us (nohup, a background job): keep it so.
    if (old.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = noteTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Reset on delivery: a second signal ends a program stuck in shutdown.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(signal, &action, nullptr);
}

}  // namespace

void setUpProcess() {
    reopenClosedStandardDescriptors();
    ignoreWriteSignals();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) handleTerminationSignal(signal);
}

bool terminationRequested() { return requestedSignal != 0; }

void endBySignalIfAsked() {
    const int signal = requestedSignal;
    if (signal == 0) return;
    static_cast<void>(std::signal(signal, SIG_DFL));
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    // Should the signal not end us, the caller's exit still does.
    static_cast<void>(std::raise(signal));
}
