// Process CPU time or wall-clock time, and the median of repetitions.
#include "bench/side/Stopwatch.h"

#include <algorithm>
#include <ctime>

namespace
{
bool wallClock = false;

double NowMs()
{
    timespec now{};
    clock_gettime(wallClock ? CLOCK_MONOTONIC : CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
} // namespace

void Stopwatch::UseWallClock(bool wall)
{
    wallClock = wall;
}

bool Stopwatch::UsesWallClock()
{
    return wallClock;
}

void Stopwatch::Restart()
{
    start_ = NowMs();
}

double Stopwatch::ElapsedMs() const
{
    return NowMs() - start_;
}

double MedianOf(std::vector<double> samples)
{
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}
