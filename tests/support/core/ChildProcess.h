// Programs that the test servers start and drive: a server that runs beside the tests, or a
// tool run to its end.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess
{
  public:
    // Starts the command with standard input from a file (or /dev/null), standard output to
    // `out` and standard error to `out`.err. A child that should die with its parent gets the
    // parent-death signal, so that no server outlives a test process that died.
    static pid_t Spawn(const std::vector<std::string> &command, const std::string &in,
                       const std::string &out, bool dieWithParent);
    // Runs the command to its end; its exit code, or -1 when it did not exit by itself.
    static int Run(const std::vector<std::string> &command, const std::string &in,
                   const std::string &out);
    // SIGTERM, then SIGKILL when the process has not ended within the grace time; pid becomes
    // -1. Nothing happens for a pid that is not positive.
    static void Stop(pid_t &pid, int graceSeconds);
    // Whether the process ended by itself (it is then reaped and pid becomes -1).
    static bool Ended(pid_t &pid);

    static std::string ReadAll(const std::string &path);
};
