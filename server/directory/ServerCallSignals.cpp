// Holding SIGTERM and SIGPIPE back on the calling thread around a call to the directory server.
#include "server/directory/ServerCallSignals.h"

#include <pthread.h>

#include <ctime>

namespace
{
sigset_t Only(int signal)
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    return set;
}

bool PipePending()
{
    sigset_t pending;
    sigemptyset(&pending);
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}
} // namespace

ServerCallSignals::ServerCallSignals()
{
    sigset_t held = Only(SIGTERM);
    sigaddset(&held, SIGPIPE);
    held_ = pthread_sigmask(SIG_BLOCK, &held, &previousMask_) == 0;
    pipePendingBefore_ = PipePending();
}

ServerCallSignals::~ServerCallSignals()
{
    if (!held_) {
        return;
    }
    // A write raises SIGPIPE on the writing thread; it waits here, held back, and is taken
    // before the old mask could deliver it. A termination signal stays pending and arrives as
    // soon as the old mask is back.
    if (!pipePendingBefore_ && PipePending()) {
        const sigset_t pipe = Only(SIGPIPE);
        const timespec noWait{0, 0};
        sigtimedwait(&pipe, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
