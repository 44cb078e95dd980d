// Blocking SIGTERM for the calling thread around a call to the directory server.
#include "restore/server/directory/TerminationSignalHeld.h"

#include <pthread.h>

TerminationSignalHeld::TerminationSignalHeld()
{
    sigset_t terminate;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGTERM);
    held_ = pthread_sigmask(SIG_BLOCK, &terminate, &previous_) == 0;
}

TerminationSignalHeld::~TerminationSignalHeld()
{
    if (held_) {
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
}
