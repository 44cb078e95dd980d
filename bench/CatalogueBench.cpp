// Figures of the catalogue's index on generated catalogues: nightly dumps of a directory of
// --entries entries (containers of 10,000), --dumps of them, 1% of the entries changed each night
// and a few added and deleted. Each figure is measured in a process of its own (its peak memory
// is that process's) and set beside its limit; the limits of reading the same files plainly
// (read() and counting lines, as grep -c does) are measured in the same run. Times are the CPU
// time of the process (the machine is shared), wall-clock time beside them where it differs.
// The exit status is 1 when a figure misses its limit.
//
//   bench_CatalogueBench [--entries=N] [--dumps=N] [--folder=DIR] [--keep]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/CatalogueDumps.h"
#include "catalogue/CatalogueIndex.h"
#include "catalogue/DistinguishedName.h"
#include "server/SearchPattern.h"

namespace
{
using Clock = std::chrono::steady_clock;

// Runs the work in a child process: its time (ms) and its peak resident memory (MB).
struct Measured {
    double ms = 0;   // CPU time
    double wall = 0; // wall-clock time
    double mb = 0;
    bool ok = false;
};

double CpuMilliseconds(const rusage &usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

Measured InChild(const std::function<bool()> &work)
{
    std::fflush(stdout);
    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return {CpuMilliseconds(usage), wall, usage.ru_maxrss / 1024.0,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

double ProcessCpu()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double Milliseconds(const std::function<void()> &work, int times = 1)
{
    const double start = ProcessCpu();
    for (int i = 0; i < times; ++i) {
        work();
    }
    return (ProcessCpu() - start) / times;
}

std::vector<std::string> DumpPaths(const Config &config)
{
    std::vector<std::string> paths;
    for (const auto &entry : std::filesystem::directory_iterator(config.folder + "/dumps")) {
        paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

uint64_t SizeOf(const std::vector<std::string> &paths)
{
    uint64_t bytes = 0;
    for (const std::string &path : paths) {
        bytes += std::filesystem::file_size(path);
    }
    return bytes;
}

// The limit of reading: every byte read and its lines counted, as grep -c '^dn:' does.
bool ReadPlainly(const std::vector<std::string> &paths)
{
    std::vector<char> buffer(1 << 20);
    std::size_t lines = 0;
    for (const std::string &path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
            lines += static_cast<std::size_t>(std::count(buffer.data(), buffer.data() + got, '\n'));
        }
        ::close(fd);
    }
    return lines > 0;
}

std::unique_ptr<CatalogueIndex> OpenIndex(const Config &config)
{
    CatalogueIndex::Options options;
    options.indexFolder = config.folder + "/index";
    options.containerClasses = {"organization", "organizationalunit"};
    std::string fault;
    std::unique_ptr<CatalogueIndex> index =
        CatalogueIndex::Open(config.folder + "/dumps", options, fault);
    if (!index) {
        std::fprintf(stderr, "%s\n", fault.c_str());
    }
    return index;
}

// The dumps up to `count` in the folder the index reads (the others wait beside it).
void Offer(const Config &config, std::size_t count)
{
    const std::vector<std::string> all = [&] {
        std::vector<std::string> paths;
        for (const char *where : {"/dumps", "/waiting"}) {
            for (const auto &entry : std::filesystem::directory_iterator(config.folder + where)) {
                paths.push_back(entry.path().filename().string());
            }
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string in = config.folder + "/dumps/" + all[i];
        const std::string out = config.folder + "/waiting/" + all[i];
        if (i < count && std::filesystem::exists(out)) {
            std::filesystem::rename(out, in);
        } else if (i >= count && std::filesystem::exists(in)) {
            std::filesystem::rename(in, out);
        }
    }
}

int failures = 0;

void Row(const char *what, double value, const char *unit, double limit, bool atMost = true)
{
    const bool over = atMost ? value > limit : value < limit;
    failures += over ? 1 : 0;
    std::printf("%-64s %10.1f %-5s %s %8.1f%s\n", what, value, unit, atMost ? "<=" : ">=", limit,
                over ? "  OVER" : "");
}

void Note(const char *what, double value, const char *unit)
{
    std::printf("%-64s %10.1f %-5s\n", what, value, unit);
}
} // namespace

int main(int argc, char **argv)
{
    Config config;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.starts_with("--entries=")) {
            config.entries = std::stoul(word.substr(10));
        } else if (word.starts_with("--dumps=")) {
            config.dumps = std::stoul(word.substr(8));
        } else if (word.starts_with("--folder=")) {
            config.folder = word.substr(9);
        } else if (word == "--keep") {
            config.keep = true;
        }
    }
    const bool made = config.folder.empty();
    if (made) {
        std::string pattern = "/tmp/tarvik-catalogue-bench-XXXXXX";
        config.folder = ::mkdtemp(pattern.data());
    }
    std::filesystem::create_directories(config.folder + "/dumps");
    std::filesystem::create_directories(config.folder + "/waiting");
    std::printf("catalogue of %zu entries x %zu dumps in %s\n", config.entries, config.dumps,
                config.folder.c_str());
    if (DumpPaths(config).empty()) {
        const double ms = Milliseconds([&] { Generate(config); });
        Note("generating the dumps", ms / 1000, "s");
    }
    std::filesystem::remove_all(config.folder + "/index");
    const std::vector<std::string> paths = DumpPaths(config);
    const uint64_t all = SizeOf(paths);
    const uint64_t first = std::filesystem::file_size(paths.front());
    Note("plain LDIF, all dumps", static_cast<double>(all) / 1e6, "MB");

    const Measured read = InChild([&] { return ReadPlainly(paths); });
    Note("reading plainly (read, lines counted)", all / 1e3 / read.ms, "MB/s");
    Note("  wall-clock", all / 1e3 / read.wall, "MB/s");

    Offer(config, 1);
    const Measured firstDump = InChild([&] { return OpenIndex(config) != nullptr; });
    Offer(config, config.dumps);
    const Measured later = InChild([&] { return OpenIndex(config) != nullptr; });
    Note("indexing the first dump (every entry new)", first / 1e3 / firstDump.ms, "MB/s");
    Note("  its peak memory", firstDump.mb, "MB");
    Row("indexing each later dump (1% changed)", (all - first) / 1e3 / later.ms, "MB/s", 200,
        false);
    Note("  wall-clock", (all - first) / 1e3 / later.wall, "MB/s");
    Row("  peak memory", later.mb, "MB", 200);
    Note("indexing the whole catalogue", all / 1e3 / (firstDump.ms + later.ms), "MB/s");

    const Measured open = InChild([&] { return OpenIndex(config) != nullptr; });
    Row("opening, already indexed (process started, index checked, closed)", open.ms, "ms",
        config.entries >= 1000000 ? 1000 : 300);
    Row("  peak memory", open.mb, "MB", config.entries >= 1000000 ? 200 : 100);
    Note("  wall-clock", open.wall, "ms");

    std::unique_ptr<CatalogueIndex> index = OpenIndex(config);
    const uint64_t indexBytes = std::filesystem::file_size(index->IndexPath());
    Row("index size against one plain dump", static_cast<double>(indexBytes) / first, "x", 1.5);

    std::size_t asked = 0;
    const double history = Milliseconds(
        [&] {
            const std::size_t user = (++asked * 7777) % kPerContainer;
            index->TimesOf(
                DistinguishedName::Parse("uid=user" + std::to_string(user) + ",ou=Org0,o=Bench")
                    ->Canonical());
        },
        100);
    Row("an object's history over every dump", history, "ms", 20);

    const std::string org = DistinguishedName::Parse("ou=Org0,o=Bench")->Canonical();
    std::size_t children = 0;
    const double listing = Milliseconds([&] {
        const std::vector<ArchivedName> names = index->ChildrenOf(org);
        children = names.size();
        for (const ArchivedName &name : names) {
            children += index->HadChildren(name.canonical) ? 1 : 0;
        }
    });
    Row("the snapshots' children of a 10,000-child container", listing, "ms", 100);
    Note("  children", static_cast<double>(children), "");

    // Find's look through the snapshots, as the directory server makes it after the live pages.
    const auto find = [&](const SearchPattern &pattern, std::size_t enough) {
        std::size_t found = 0;
        int64_t cursor = 0;
        const std::string below = ",o=bench";
        for (std::vector<ArchivedName> names;
             found < enough && !(names = index->NamesAfter(cursor, 5000)).empty();) {
            for (const ArchivedName &name : names) {
                if (name.canonical.ends_with(below) && pattern.Matches(name.own)) {
                    index->WasContainer(name.canonical);
                    ++found;
                }
            }
        }
        return found;
    };
    std::size_t matches = 0;
    const double screenful = Milliseconds([&] { matches = find(SearchPattern("User*7"), 40); });
    Row("Find: the first screenful (40 matches) from the snapshots", screenful, "ms", 150);
    const double whole = Milliseconds([&] { matches = find(SearchPattern("user12345"), -1); });
    Row("Find: the whole search of the snapshots", whole, "ms", 2000);
    Note("  matches", static_cast<double>(matches), "");
    index.reset();
    if (made && !config.keep) {
        std::filesystem::remove_all(config.folder);
    }
    return failures == 0 ? 0 : 1;
}
