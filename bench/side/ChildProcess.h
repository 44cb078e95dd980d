// Runs a program as a separate process and reports what it cost: for start-up times and for the
// peak memory of a whole process.
#pragma once

#include <string>
#include <vector>

struct ChildRun {
    bool succeeded = false; // started and exited with status 0
    double wallMs = 0;
    double cpuMs = 0;   // user and system time of the child
    std::string output; // what it wrote to its standard output
};

// environment: extra NAME=value entries on top of this process's environment. The child's
// standard output is collected.
ChildRun RunChild(const std::string &program, const std::vector<std::string> &arguments,
                  const std::vector<std::string> &environment = {});

// The directory of the running executable.
std::string ExecutableDir();

// The largest resident set of this process so far, in KB. (The resource usage that wait4 reports
// for a child would not do: Linux carries the parent's high-water mark across the exec.)
long PeakResidentKb();
