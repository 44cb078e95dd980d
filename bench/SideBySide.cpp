// Our tree view side by side with a stock QTreeView over a small item model: seven workloads on
// the same machine in one run, each side's median and the ratio ours/peer.
//
//   bench_SideBySide [--repetitions=N] [--runs=N] [--only=N] [--wall]
//
// Times are the process's CPU time unless --wall is given (the machine is shared, and CPU time
// does not count the moments another process had the core). --runs is the number of start-ups
// per side; --only runs one workload (1 to 7). The program runs itself with --forest=ours|peer for
// the peak-memory figure.
#include <QApplication>
#include <cstdio>
#include <string>
#include <thread>

#include "bench/side/Stopwatch.h"
#include "bench/side/Workloads.h"

namespace
{
bool Option(const std::string &argument, const char *name, std::string &value)
{
    const std::string prefix = std::string(name) + "=";
    if (argument.rfind(prefix, 0) != 0) {
        return false;
    }
    value = argument.substr(prefix.size());
    return true;
}

void PrintHeader(const WorkloadOptions &options)
{
    std::printf("Tree view side by side with a stock QTreeView (Qt %s, offscreen, 600 x 800)\n",
                qVersion());
    std::printf("%u cores; %s time; median of %d repetitions (%d start-ups per side)\n\n",
                std::thread::hardware_concurrency(), Stopwatch::UsesWallClock() ? "wall" : "CPU",
                options.repetitions, options.processRuns);
    std::printf("%-66s %12s %12s %9s %6s\n", "workload", "ours", "peer", "ours/peer", "limit");
}

void PrintRow(const Comparison &result)
{
    const bool within = result.failure.empty() && result.Ratio() <= result.limit;
    std::printf("%-66s %9.2f %-2s %9.2f %-2s %9.2f %6.1f  %s\n", result.title.c_str(), result.ours,
                result.unit.c_str(), result.peer, result.unit.c_str(), result.Ratio(), result.limit,
                within                   ? ""
                : result.failure.empty() ? "OVER"
                                         : result.failure.c_str());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    WorkloadOptions options;
    options.self = argv[0];
    std::string forest;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string value;
        if (Option(argument, "--repetitions", value)) {
            options.repetitions = std::max(1, std::stoi(value));
        } else if (Option(argument, "--runs", value)) {
            options.processRuns = std::max(1, std::stoi(value));
        } else if (Option(argument, "--only", value)) {
            options.only = std::stoi(value);
        } else if (Option(argument, "--forest", value)) {
            forest = value;
        } else if (argument == "--wall") {
            Stopwatch::UseWallClock(true);
        } else {
            std::fprintf(stderr, "usage: %s [--repetitions=N] [--runs=N] [--only=N] [--wall]\n",
                         argv[0]);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (!forest.empty()) {
        return BuildForestAndExit(forest);
    }
    PrintHeader(options);
    bool allWithin = true;
    RunWorkloads(options, [&allWithin](const Comparison &result) {
        PrintRow(result);
        allWithin = allWithin && result.failure.empty() && result.Ratio() <= result.limit;
    });
    return allWithin ? 0 : 1;
}
