// Figures of a change report between two snapshots, answered from the catalogue's index alone:
// two nightly dumps of --entries entries (1% changed, a few added and deleted) made by the
// catalogue benchmark's generator, indexed first (not measured), then the whole report, in a
// process of its own so that its peak memory is the report's: its CPU time, the time to its
// first rows, and how its memory grows against the directory's size (set beside the index
// opened with no report). The exit status is 1 when a figure misses its limit.
//
//   bench_ChangesBench [--entries=N] [--folder=DIR]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/CatalogueDumps.h"
#include "server/directory/SnapshotCatalogue.h"
#include "server/directory/SnapshotChanges.h"

namespace
{
using Clock = std::chrono::steady_clock;

struct Figures {
    double cpuMs = 0;
    double firstRowsMs = 0;
    double peakMb = 0;
    double changes = 0;
};

double CpuMs(const rusage &usage)
{
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

bool Load(SnapshotCatalogue &catalogue, const Config &config)
{
    return catalogue.Load(
        config.folder + "/dumps", SnapshotCatalogue::DefaultContainerClasses(),
        [](const std::string &) {}, config.folder + "/index");
}

ChangeContext WholeDirectory()
{
    ChangeContext context;
    context.canonical = "o=bench";
    context.userAttributes = [](const LdapAttributes &attributes) {
        std::vector<DescribedAttribute> kept;
        for (const auto &[name, values] : attributes) {
            if (name != "entryCSN" && name != "modifyTimestamp") {
                kept.push_back({name, values});
            }
        }
        return kept;
    };
    context.fullName = [](const std::string &dn) { return dn; };
    return context;
}

// In a child: the catalogue opened and, when `report`, the whole report made. The figures come
// back through a pipe; the peak memory from wait4.
Figures InChild(const Config &config, bool report)
{
    int channel[2];
    if (::pipe(channel) != 0) {
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        Figures figures;
        SnapshotCatalogue catalogue;
        if (Load(catalogue, config) && report) {
            const std::vector<IndexedDump> &dumps = catalogue.Snapshots();
            SnapshotChanges changes(catalogue, WholeDirectory(), dumps.back().seq,
                                    dumps.front().seq);
            const Clock::time_point start = Clock::now();
            std::vector<ObjectChange> found;
            std::string fault;
            while (!changes.Done() && changes.Next(found, fault)) {
                if (figures.firstRowsMs == 0 && !found.empty()) {
                    figures.firstRowsMs =
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                }
            }
            if (!fault.empty()) {
                std::fprintf(stderr, "%s\n", fault.c_str());
            }
            rusage self{};
            ::getrusage(RUSAGE_SELF, &self);
            figures.cpuMs = CpuMs(self);
            figures.changes = static_cast<double>(found.size());
        }
        [[maybe_unused]] const ssize_t written = ::write(channel[1], &figures, sizeof figures);
        ::_exit(0);
    }
    ::close(channel[1]);
    Figures figures;
    [[maybe_unused]] const ssize_t read = ::read(channel[0], &figures, sizeof figures);
    ::close(channel[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    figures.peakMb = usage.ru_maxrss / 1024.0;
    return figures;
}

int failures = 0;

void Row(const std::string &what, double value, const char *unit, double limit)
{
    failures += value > limit ? 1 : 0;
    std::printf("%-64s %10.1f %-5s <= %8.1f%s\n", what.c_str(), value, unit, limit,
                value > limit ? "  OVER" : "");
}

void Note(const std::string &what, double value, const char *unit)
{
    std::printf("%-64s %10.1f %-5s\n", what.c_str(), value, unit);
}
} // namespace

int main(int argc, char **argv)
{
    Config config;
    config.dumps = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.starts_with("--entries=")) {
            config.entries = std::stoul(word.substr(10));
        } else if (word.starts_with("--folder=")) {
            config.folder = word.substr(9);
        }
    }
    const bool made = config.folder.empty();
    if (made) {
        std::string pattern = "/tmp/tarvik-changes-bench-XXXXXX";
        config.folder = ::mkdtemp(pattern.data());
    }
    std::filesystem::create_directories(config.folder + "/dumps");
    if (std::filesystem::is_empty(config.folder + "/dumps")) {
        Generate(config);
    }
    {
        SnapshotCatalogue catalogue;
        if (!Load(catalogue, config)) {
            std::fprintf(stderr, "the catalogue in %s cannot be opened\n", config.folder.c_str());
            return 1;
        }
    }
    std::printf("two snapshots of %zu entries in %s\n", config.entries, config.folder.c_str());
    const Figures opened = InChild(config, false);
    const Figures report = InChild(config, true);
    Note("changes reported", report.changes, "");
    Row("the whole report, CPU (catalogue opened included)", report.cpuMs, "ms",
        config.entries >= 1000000 ? 10000 : 1000);
    Row("  its first rows", report.firstRowsMs, "ms", 300);
    Note("  peak memory, catalogue opened and no report", opened.peakMb, "MB");
    Note("  peak memory with the report", report.peakMb, "MB");
    Row("  memory the report added, per change",
        (report.peakMb - opened.peakMb) * 1024 / std::max(report.changes, 1.0), "KB", 4);
    if (made) {
        std::filesystem::remove_all(config.folder);
    }
    return failures == 0 ? 0 : 1;
}
