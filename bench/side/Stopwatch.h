// Times a step of a benchmark in milliseconds of the process's CPU time (steady under the load of
// other builds on the machine) or of wall-clock time.
#pragma once

#include <vector>

class Stopwatch
{
  public:
    // Wall-clock time when set; CPU time of the whole process otherwise.
    static void UseWallClock(bool wall);
    static bool UsesWallClock();

    Stopwatch() { Restart(); }
    void Restart();
    double ElapsedMs() const;

  private:
    double start_ = 0;
};

// The median of the samples; 0 for none.
double MedianOf(std::vector<double> samples);
