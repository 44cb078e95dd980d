// Each command-line run (not a dry run) in the journal of past runs that the window keeps: read
// back by the journal's own reader, as Past Runs reads it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/RunJournal.h"
#include "server/ServerLogin.h"
#include "tests/cli/CommandFixture.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace
{
// The runs in the journal, newest first, each read whole.
std::vector<RunReport> Runs(const CommandRun &run)
{
    const RunJournal journal(run.JournalPath());
    const JournalListing listing = journal.List();
    EXPECT_EQ(listing.error, "");
    EXPECT_EQ(listing.skipped, 0u);
    std::vector<RunReport> runs;
    for (const JournalEntry &entry : listing.entries) {
        std::string error;
        std::optional<RunReport> read = journal.Read(entry, error);
        EXPECT_TRUE(read) << error;
        if (read) {
            runs.push_back(std::move(*read));
        }
    }
    return runs;
}

std::vector<std::string> Names(const RunReport &run)
{
    std::vector<std::string> names;
    for (const ReportedObject &object : run.objects) {
        names.push_back(object.name);
    }
    return names;
}

TEST(Journal, KeepsEveryObjectOfARunWithItsOutcome)
{
    CommandRun run;
    Directory(run.script);
    run.script.SetRestoreOutcome("Object-3.Sales.Marrowby", 53, "Insufficient access");
    const auto before = static_cast<int64_t>(std::time(nullptr));
    EXPECT_EQ(run.Run({"Object-2.Sales.Marrowby@2026-11-30T00:40:00Z", "Object-3.Sales.Marrowby",
                       "Team.Sales.Marrowby/", "Object-4.Team.Sales.Marrowby", "Nope.Marrowby"}),
              1);
    const std::vector<RunReport> runs = Runs(run);
    ASSERT_EQ(runs.size(), 1u);
    const RunReport &kept = runs[0];
    EXPECT_EQ(kept.server, "FS1");
    EXPECT_EQ(kept.user, ServerLogin::DefaultUser);
    EXPECT_EQ(kept.onError, OnErrorContinue);
    EXPECT_TRUE(kept.ranToEnd);
    EXPECT_GE(kept.started, before);
    EXPECT_GE(kept.ended, kept.started);
    // In the order of the results.
    ASSERT_THAT(Names(kept), ElementsAre("Object-2.Sales.Marrowby", "Object-3.Sales.Marrowby",
                                         "Team.Sales.Marrowby", "Object-4.Team.Sales.Marrowby",
                                         "Nope.Marrowby"));
    const std::vector<ReportedObject> &objects = kept.objects;
    EXPECT_TRUE(objects[0].Restored());
    EXPECT_EQ(objects[0].version, kMonday);
    EXPECT_TRUE(objects[0].withSubtree);
    EXPECT_EQ(objects[1].status, 53);
    EXPECT_EQ(objects[1].message, "Insufficient access");
    EXPECT_TRUE(objects[2].Restored());
    EXPECT_FALSE(objects[2].withSubtree);
    EXPECT_EQ(objects[2].version, 0u); // the most recent
    // Never sent: not restored, and the record says why, as the results do.
    EXPECT_FALSE(objects[4].Restored());
    EXPECT_EQ(objects[4].message, "not found: no object Nope in Marrowby");
    EXPECT_EQ(kept.RestoredCount(), 3u);
    EXPECT_EQ(kept.FailedCount(), 2u);
}

TEST(Journal, ARunEndedEarlyIsKeptAsStoppedAndADryRunOrARefusalNotAtAll)
{
    CommandRun run;
    Directory(run.script);
    run.script.SetRestoreOutcome("Object-1.Marrowby", 1, "refused");
    ObjectDescription same;
    same.inBackup = same.live = true;
    run.script.SetDescription("Object-1.Marrowby", same);
    EXPECT_EQ(run.Run({"--dry-run", "Object-1.Marrowby"}), 0);
    EXPECT_EQ(run.Run({"--format=xml", "Object-1.Marrowby"}), 2);
    EXPECT_THAT(Runs(run), IsEmpty());

    EXPECT_EQ(run.Run({"--on-error", "end", "Object-1.Marrowby", "Object-2.Sales.Marrowby"}), 1);
    const std::vector<RunReport> runs = Runs(run);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0].ranToEnd);
    EXPECT_EQ(runs[0].onError, OnErrorEnd);
    ASSERT_EQ(runs[0].objects.size(), 2u);
    EXPECT_THAT(runs[0].objects[1].message, HasSubstr("skipped: not restored: the run ended"));
}

// The run is what the exit status tells; its record failing is said beside it.
TEST(Journal, AJournalThatCannotBeWrittenIsSaidAndTheRunStandsAsItWas)
{
    CommandRun run;
    Directory(run.script);
    // Its folder is a file: no user, root included, can write there.
    run.journalPath = run.folder.Path("TARVIK.INI") + "/runs.jsonl";
    EXPECT_EQ(run.Run({"--format=csv", "Object-1.Marrowby"}), 0);
    EXPECT_EQ(run.Restores().size(), 1u);
    EXPECT_EQ(run.Rows().at(0).at(3), "restored");
    EXPECT_THAT(run.err.str(),
                HasSubstr("this run could not be added to the journal of past runs " +
                          run.JournalPath() + ": "));
}
} // namespace
