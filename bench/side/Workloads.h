// The workloads of the side-by-side benchmark, each run on our tree view and on the peer, and
// the figures they give.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct Comparison {
    Comparison(std::string title, std::string unit, double limit = 1.0)
        : title(std::move(title)), unit(std::move(unit)), limit(limit)
    {
    }

    std::string title;
    std::string unit; // "ms" or "MB"
    double ours = 0;  // medians
    double peer = 0;
    double limit = 1.0;  // the ratio ours/peer must not exceed this
    std::string failure; // set when a side did not do what the workload asks
    double Ratio() const { return peer > 0 ? ours / peer : 0; }
};

struct WorkloadOptions {
    int repetitions = 7;
    int processRuns = 15; // start-up runs per side
    int only = 0;         // 1 to 7: that workload alone; 0: all
    std::string self;     // this program, run again for the memory figures
};

// Runs the workloads in order, reporting each as soon as it is measured.
void RunWorkloads(const WorkloadOptions &options,
                  const std::function<void(const Comparison &)> &report);

// The child process of the memory workload: builds the million-row forest of one side ("ours"
// or "peer"), shows its last screenful, prints its peak resident set in KB and ends.
int BuildForestAndExit(const std::string &side);
