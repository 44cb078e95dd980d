// For tests that stop a server the program is connected to: the next write to it raises
// SIGPIPE, whose default action would end the test process. While this object lives the signal
// is ignored, so that the write fails with EPIPE and the program's handling of the lost server
// is what the test sees.
#pragma once

#include <csignal>

class BrokenPipeIgnored
{
  public:
    BrokenPipeIgnored()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, &previous_);
    }
    ~BrokenPipeIgnored() { sigaction(SIGPIPE, &previous_, nullptr); }
    BrokenPipeIgnored(const BrokenPipeIgnored &) = delete;
    BrokenPipeIgnored &operator=(const BrokenPipeIgnored &) = delete;

  private:
    struct sigaction previous_ {
    };
};
