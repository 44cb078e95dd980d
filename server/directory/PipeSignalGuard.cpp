// Holding SIGPIPE back on the calling thread and dropping one that the guarded calls raised.
#include "server/directory/PipeSignalGuard.h"

#include <pthread.h>

#include <ctime>

namespace
{
sigset_t PipeOnly()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

bool PipePending()
{
    sigset_t pending;
    sigemptyset(&pending);
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}
} // namespace

PipeSignalGuard::PipeSignalGuard()
{
    const sigset_t pipe = PipeOnly();
    pthread_sigmask(SIG_BLOCK, &pipe, &previousMask_);
    pendingBefore_ = PipePending();
}

PipeSignalGuard::~PipeSignalGuard()
{
    // A write raises SIGPIPE on the writing thread; it waits here, held back, and is taken
    // before the old mask could deliver it.
    if (!pendingBefore_ && PipePending()) {
        const sigset_t pipe = PipeOnly();
        const timespec noWait{0, 0};
        sigtimedwait(&pipe, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
