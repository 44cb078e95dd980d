// Holds the termination signal back from the calling thread while it talks to the directory
// server, and lets a signal that came meanwhile arrive as soon as it is done.
#pragma once

#include <csignal>

// The program's SIGTERM handler only records the signal, but merely running it cuts the
// directory library's waits short (a wait for a reply is not resumed after a handler ran): the
// call would fail with "Can't contact LDAP server" although the server answers, or report a
// failure for a change the server made. Held back, the signal is handled once the call is over.
// The mask is the thread's own: whichever thread does server I/O holds the signal back.
class TerminationSignalHeld
{
  public:
    TerminationSignalHeld();
    ~TerminationSignalHeld();
    TerminationSignalHeld(const TerminationSignalHeld &) = delete;
    TerminationSignalHeld &operator=(const TerminationSignalHeld &) = delete;

  private:
    sigset_t previous_;
    bool held_;
};
