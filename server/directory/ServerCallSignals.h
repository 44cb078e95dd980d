// Holds back, on the calling thread, the two signals that a call to the directory server must not
// meet, for as long as the guard lives:
// - SIGTERM: the program's handler only records it, but merely running a handler cuts the
//   directory library's waits short (a wait for a reply is not resumed after a handler ran), so
//   the call would fail with "Can't contact LDAP server" although the server answers, or report a
//   failure for a change the server made. Held back, it is handled once the call is over.
// - SIGPIPE: writing to a connection that the server has closed (a stopped server, its idle
//   timeout) raises it, and it ends the program unless handled. Held back, the write fails with
//   EPIPE instead, the connection counts as lost and is made again; one raised meanwhile is taken
//   away before the guard goes.
// The mask is the thread's own: whichever thread does server I/O holds the signals back.
#pragma once

#include <signal.h>

class ServerCallSignals
{
  public:
    ServerCallSignals();
    ~ServerCallSignals();
    ServerCallSignals(const ServerCallSignals &) = delete;
    ServerCallSignals &operator=(const ServerCallSignals &) = delete;

  private:
    sigset_t previousMask_;
    bool held_ = false;
    bool pipePendingBefore_ = false; // not ours to take away
};
