// The journal of past runs at the sizes a busy administrator reaches: Past Runs listing 1,000
// runs of 100 objects each, a run of 100,000 objects appended (written and flushed to the disk)
// and read back whole when opened.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "report/RunJournal.h"

namespace
{

RunReport Run(int64_t started, int objects)
{
    RunReport run;
    run.started = started;
    run.ended = started + 60;
    run.server = "FS1";
    run.user = "Admin.Tech_Support.Marrowby";
    for (int i = 0; i < objects; ++i) {
        run.objects.push_back(MakeReportedObject(
            "Object-" + std::to_string(i) + ".Contain-" + std::to_string(i % 97) + ".Marrowby", 0,
            i % 3 == 0 ? ObjectScope::Subtree : ObjectScope::Object, i % 10 == 0 ? 50 : 0,
            "Insufficient access rights to the parent entry", ""));
    }
    return run;
}

class Folder
{
  public:
    Folder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-journal-bench-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string Journal() const { return path_ + "/tarvik/runs.jsonl"; }

  private:
    std::string path_;
};

void ListThousandRuns(benchmark::State &state)
{
    Folder folder;
    RunJournal journal(folder.Journal());
    for (int i = 0; i < 1000; ++i) {
        journal.Append(Run(1700000000 + i * 600, 100));
    }
    for (auto _ : state) {
        JournalListing listing = journal.List();
        benchmark::DoNotOptimize(listing.entries.data());
        if (listing.entries.size() != 1000) {
            state.SkipWithError("not every run listed");
        }
    }
}
BENCHMARK(ListThousandRuns)->Unit(benchmark::kMillisecond);

void AppendLargeRun(benchmark::State &state)
{
    Folder folder;
    RunJournal journal(folder.Journal());
    const RunReport run = Run(1700000000, 100000);
    for (auto _ : state) {
        if (!journal.Append(run).empty()) {
            state.SkipWithError("append failed");
        }
    }
}
BENCHMARK(AppendLargeRun)->Unit(benchmark::kMillisecond);

void ReadLargeRun(benchmark::State &state)
{
    Folder folder;
    RunJournal journal(folder.Journal());
    journal.Append(Run(1700000000, 100000));
    const JournalEntry entry = journal.List().entries.at(0);
    for (auto _ : state) {
        std::string error;
        std::optional<RunReport> run = journal.Read(entry, error);
        if (!run || run->objects.size() != 100000) {
            state.SkipWithError("run not read");
        }
    }
}
BENCHMARK(ReadLargeRun)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
