#include "platform/Signals.h"

#include <csignal>
#include <unistd.h>

namespace {

// SIGHUP handler: the same quit request as SIGTERM (kill is safe in a signal handler).
void ForwardHangUp(int) {
    ::kill(::getpid(), SIGTERM);
}

} // namespace

// A hang-up (the terminal or the session going away) is passed on as a SIGTERM: SDL's own handler
// (installed while video runs) lets other signals pass; without SDL's handler the SIGTERM ends
// the program as SIGHUP would. An ignored SIGHUP (nohup) stays ignored.
void ForwardQuitRequests() {
    struct sigaction hup {};
    if (sigaction(SIGHUP, nullptr, &hup) == 0 && hup.sa_handler != SIG_IGN) {
        struct sigaction forward {};
        forward.sa_handler = ForwardHangUp;
        sigemptyset(&forward.sa_mask);
        forward.sa_flags = SA_RESTART;
        sigaction(SIGHUP, &forward, nullptr);
    }
}
