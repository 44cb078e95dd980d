// Writing to a connection that the server has closed (a stopped server, its idle timeout) raises
// SIGPIPE, which ends the program unless it is handled. While a guard lives, the calling thread
// holds that signal back, and one raised meanwhile is taken away before the guard goes: the write
// fails with EPIPE instead, the connection counts as lost, and it is made again.
#pragma once

#include <signal.h>

class PipeSignalGuard
{
  public:
    PipeSignalGuard();
    PipeSignalGuard(const PipeSignalGuard &) = delete;
    PipeSignalGuard &operator=(const PipeSignalGuard &) = delete;
    ~PipeSignalGuard();

  private:
    sigset_t previousMask_;
    bool pendingBefore_ = false; // not ours to take away
};
