// SIGINT and SIGTERM during a run: the first one is noted, and the run stops after the request in
// flight (a request is never cut off, so its outcome is known) and reports what was and was not
// restored. A second one ends the program at once (the results file waits: see OutputFile).
#pragma once

class InterruptFlag
{
  public:
    // Installs the handlers for the process.
    static void Install();
    static bool Raised();
    // For tests: as if a signal had come (or not).
    static void Set(bool raised);
};
