// The journal of past runs: where it lives, many runs appended and listed newest first, and a
// journal damaged by a crash, a full disk or a stray edit that still lists every whole run.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "report/RunJournal.h"
#include "report/RunReportJson.h"
#include "tests/mwlib/ChildProcess.h"
#include "tests/mwlib/TempDir.h"
#include "tests/report/SampleReports.h"
#include "tests/support/core/ScopedEnvironment.h"

namespace
{

std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void AppendBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

std::vector<int64_t> StartTimes(const JournalListing &listing)
{
    std::vector<int64_t> times;
    for (const JournalEntry &entry : listing.entries) {
        times.push_back(entry.run.started);
    }
    return times;
}

} // namespace

TEST(RunJournal, LivesInTheUsersDataFolder)
{
    const struct {
        const char *xdg;
        const char *home;
        std::string expected;
    } cases[] = {
        {"/data/me", "/home/me", "/data/me/tarvik/runs.jsonl"},
        {"/data/me//", "/home/me", "/data/me/tarvik/runs.jsonl"},
        {nullptr, "/home/me", "/home/me/.local/share/tarvik/runs.jsonl"},
        {"", "/home/me", "/home/me/.local/share/tarvik/runs.jsonl"},
        // A relative XDG_DATA_HOME is not to be used.
        {"relative/data", "/home/me", "/home/me/.local/share/tarvik/runs.jsonl"},
    };
    for (const auto &c : cases) {
        ScopedEnvironment xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnvironment home("HOME", c.home);
        EXPECT_EQ(RunJournal::DefaultPath(), c.expected);
    }
}

TEST(RunJournal, ManyRunsListNewestFirstWithTheirCounts)
{
    TempDir folder;
    RunJournal journal(folder.Path("deep/down/runs.jsonl")); // the folders are made as needed
    EXPECT_TRUE(journal.List().entries.empty());
    EXPECT_EQ(journal.List().error, "");
    constexpr int kRuns = 300;
    // Out of order on purpose: a clock put back must not shuffle the list.
    for (int i = 0; i < kRuns; ++i) {
        const int64_t started = 1700000000 + (i * 7919) % kRuns * 60;
        ASSERT_EQ(journal.Append(PlainReport(started, i % 5 + 1, i % 3)), "") << i;
    }
    JournalListing listing = journal.List();
    EXPECT_EQ(listing.error, "");
    EXPECT_EQ(listing.skipped, 0u);
    ASSERT_EQ(listing.entries.size(), static_cast<std::size_t>(kRuns));
    std::vector<int64_t> times = StartTimes(listing);
    EXPECT_TRUE(std::is_sorted(times.rbegin(), times.rend()));
    EXPECT_EQ(times.front(), 1700000000 + (kRuns - 1) * 60);
    for (const JournalEntry &entry : listing.entries) {
        const int i = static_cast<int>(entry.run.started - 1700000000) / 60;
        SCOPED_TRACE(i);
        std::string error;
        std::optional<RunReport> run = journal.Read(entry, error);
        ASSERT_TRUE(run.has_value()) << error;
        EXPECT_EQ(entry.restored + entry.failed, run->objects.size());
        EXPECT_EQ(entry.failed, run->FailedCount());
        EXPECT_TRUE(entry.run.objects.empty()); // the list keeps no objects
        EXPECT_EQ(run->server, entry.run.server);
    }
}

TEST(RunJournal, TheTrickyRunReadsBackWhole)
{
    TempDir folder;
    RunJournal journal(folder.Path("runs.jsonl"));
    ASSERT_EQ(journal.Append(TrickyReport()), "");
    ASSERT_EQ(Contents(journal.Path()).find('\n'), Contents(journal.Path()).size() - 1);
    JournalListing listing = journal.List();
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].restored, 2u);
    EXPECT_EQ(listing.entries[0].failed, 3u);
    std::string error;
    std::optional<RunReport> run = journal.Read(listing.entries[0], error);
    ASSERT_TRUE(run.has_value()) << error;
    ExpectSameRun(*run, TrickyReport());
}

// A run killed while writing leaves a last line without its end. The next start lists every
// whole record and skips that one; the next run's record stands on a line of its own. A record
// that lacked only its line end is whole once the line is closed.
TEST(RunJournal, ARecordCutShortIsSkippedAndDoesNotSpoilTheNext)
{
    TempDir folder;
    RunJournal journal(folder.Path("runs.jsonl"));
    ASSERT_EQ(journal.Append(PlainReport(1700000000, 2, 0)), "");
    ASSERT_EQ(journal.Append(PlainReport(1700000100, 2, 1)), "");
    const std::string cut = RunReportToJson(PlainReport(1700000200, 3, 0), JsonLayout::OneLine);
    const struct {
        std::size_t keep;
        std::vector<int64_t> afterNextRun;
        std::size_t skippedAfterNextRun;
    } cases[] = {
        {cut.size() / 2, {1700000300, 1700000100, 1700000000}, 1},
        {cut.size(), {1700000300, 1700000200, 1700000100, 1700000000}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keep);
        TempDir copy;
        RunJournal damaged(
            copy.Write("runs.jsonl", Contents(journal.Path()) + cut.substr(0, c.keep)));
        JournalListing listing = damaged.List();
        EXPECT_EQ(StartTimes(listing), (std::vector<int64_t>{1700000100, 1700000000}));
        EXPECT_EQ(listing.skipped, 1u);

        ASSERT_EQ(damaged.Append(PlainReport(1700000300, 1, 0)), "");
        listing = damaged.List();
        EXPECT_EQ(StartTimes(listing), c.afterNextRun);
        EXPECT_EQ(listing.skipped, c.skippedAfterNextRun);
    }
}

TEST(RunJournal, CorruptLinesAreSkippedAndCounted)
{
    TempDir folder;
    RunJournal journal(folder.Path("runs.jsonl"));
    ASSERT_EQ(journal.Append(PlainReport(1700000000, 1, 0)), "");
    AppendBytes(journal.Path(), "this is not a record\n");
    AppendBytes(journal.Path(), "{\"started\":\"2023-11-14T22:13:20Z\"}\n"); // JSON, not a run
    AppendBytes(journal.Path(), std::string("\0\0\0\0\n", 5));               // zeros after a crash
    AppendBytes(journal.Path(), "\n");
    ASSERT_EQ(journal.Append(PlainReport(1700000100, 1, 1)), "");
    JournalListing listing = journal.List();
    EXPECT_EQ(listing.error, "");
    EXPECT_EQ(listing.skipped, 4u);
    EXPECT_EQ(StartTimes(listing), (std::vector<int64_t>{1700000100, 1700000000}));
    std::string error;
    for (const JournalEntry &entry : listing.entries) {
        EXPECT_TRUE(journal.Read(entry, error).has_value()) << error;
    }
}

// A full disk in the middle of a record: Append says why, and the journal is as it was.
TEST(RunJournal, AWriteThatFailsIsTakenBack)
{
    TempDir folder;
    RunJournal journal(folder.Path("runs.jsonl"));
    ASSERT_EQ(journal.Append(PlainReport(1700000000, 1, 0)), "");
    const std::string before = Contents(journal.Path());
    ChildOutcome child = RunInChild([&](std::FILE *out) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 100, before.size() + 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::fputs(journal.Append(PlainReport(1700000100, 500, 0)).c_str(), out);
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "File too large");
    EXPECT_EQ(Contents(journal.Path()), before);
}

// Runs killed at random moments while they append: a record cut short stays a damaged line of
// its own (at most one per killed run), every other line is a whole record, and the next run's
// record reads.
TEST(RunJournal, RunsKilledWhileWritingLeaveOnlyWholeRecords)
{
    TempDir folder;
    RunJournal journal(folder.Path("runs.jsonl"));
    for (int round = 0; round < 5; ++round) {
        const pid_t writer = fork();
        if (writer == 0) {
            for (int i = 0;; ++i) {
                journal.Append(PlainReport(1700000000 + round * 100000 + i, 50, 1));
            }
        }
        usleep(20000 + round * 7000);
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
    }
    ASSERT_EQ(journal.Append(PlainReport(1800000000, 1, 0)), "");
    JournalListing listing = journal.List();
    EXPECT_EQ(listing.error, "");
    EXPECT_LE(listing.skipped, 5u);
    ASSERT_FALSE(listing.entries.empty());
    EXPECT_EQ(listing.entries.front().run.started, 1800000000);
    const std::string text = Contents(journal.Path());
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')),
              listing.entries.size() + listing.skipped);
}

TEST(RunJournal, AJournalThatCannotBeReadOrWrittenSaysWhy)
{
    TempDir folder;
    std::filesystem::create_directories(folder.Path("runs.jsonl"));
    RunJournal folderInItsPlace(folder.Path("runs.jsonl"));
    EXPECT_EQ(folderInItsPlace.List().error, "Is a directory");
    EXPECT_EQ(folderInItsPlace.Append(PlainReport(1700000000, 1, 0)), "Is a directory");

    folder.Write("file", "x");
    RunJournal underAFile(folder.Path("file/tarvik/runs.jsonl"));
    EXPECT_FALSE(underAFile.Append(PlainReport(1700000000, 1, 0)).empty());

    RunJournal nowhere("");
    EXPECT_FALSE(nowhere.Append(PlainReport(1700000000, 1, 0)).empty());
}

// The journal names the user's objects and servers: its folders and the file are the user's
// alone, one made wider is narrowed, and a link in its place is not followed.
TEST(RunJournal, IsTheUsersAloneAndNeverWrittenThroughALink)
{
    TempDir folder;
    const mode_t previous = umask(022);
    const std::string path = folder.Path("data/tarvik/runs.jsonl");
    const std::string made = RunJournal(path).Append(PlainReport(1700000000, 1, 0));
    umask(previous);
    ASSERT_EQ(made, "");
    const auto mode = [](const std::string &name) {
        struct stat status {
        };
        return lstat(name.c_str(), &status) == 0 ? status.st_mode & 07777 : 07777u;
    };
    EXPECT_EQ(mode(folder.Path("data")), 0700u);
    EXPECT_EQ(mode(folder.Path("data/tarvik")), 0700u);
    EXPECT_EQ(mode(path), 0600u);

    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(RunJournal(path).Append(PlainReport(1700000060, 1, 0)), "");
    EXPECT_EQ(mode(path), 0600u);
    EXPECT_EQ(RunJournal(path).List().entries.size(), 2u);

    const std::string elsewhere = folder.Write("elsewhere", "");
    const std::string link = folder.Path("data/tarvik/linked.jsonl");
    ASSERT_EQ(symlink(elsewhere.c_str(), link.c_str()), 0);
    EXPECT_EQ(RunJournal(link).Append(PlainReport(1700000000, 1, 0)),
              "it is a symbolic link, which is not followed");
    EXPECT_EQ(Contents(elsewhere), "");
}

TEST(RunJournal, AnEntryWhoseLineChangedSinceTheListingIsNotMisread)
{
    TempDir folder;
    RunJournal journal(folder.Path("runs.jsonl"));
    ASSERT_EQ(journal.Append(PlainReport(1700000000, 3, 0)), "");
    ASSERT_EQ(journal.Append(PlainReport(1700000100, 3, 0)), "");
    JournalListing listing = journal.List();
    ASSERT_EQ(listing.entries.size(), 2u);
    folder.Write("runs.jsonl", "short\n");
    std::string error;
    EXPECT_FALSE(journal.Read(listing.entries[0], error).has_value());
    EXPECT_EQ(error, "It has changed since it was listed");
    folder.Write("runs.jsonl", std::string(Contents(journal.Path()).size() + 5000, 'x'));
    error.clear();
    EXPECT_FALSE(journal.Read(listing.entries[1], error).has_value());
    EXPECT_EQ(error, "It has changed since it was listed");
    std::filesystem::remove(journal.Path());
    EXPECT_FALSE(journal.Read(listing.entries[1], error).has_value());
    EXPECT_EQ(error, "No such file or directory");
}
