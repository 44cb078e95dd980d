// SIGINT and SIGTERM during a run: the first one is noted, and the run stops after the request in
// flight (a request is never cut off, so its outcome is known) and reports what was and was not
// restored. A second one ends the program at once, leaving no temporary file behind.
#pragma once

#include <string>

class InterruptFlag
{
  public:
    // Installs the handlers for the process.
    static void Install();
    // The temporary file to remove when a second signal ends the program at once ("": none).
    static void SetTemporaryFile(const std::string &path);
    static bool Raised();
    // For tests: as if a signal had come (or not).
    static void Set(bool raised);
};
