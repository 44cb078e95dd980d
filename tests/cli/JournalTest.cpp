// Each command-line run (not a dry run) in the journal of past runs that the window keeps: read
// back by the journal's own reader, as Past Runs reads it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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
    EXPECT_EQ(kept.onError, OnError::Continue);
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
    EXPECT_EQ(objects[0].scope, ObjectScope::Object); // a leaf, as the results say
    EXPECT_EQ(objects[1].status, 53);
    EXPECT_EQ(objects[1].message, "Insufficient access");
    EXPECT_TRUE(objects[2].Restored());
    EXPECT_EQ(objects[2].scope, ObjectScope::Alone);
    EXPECT_EQ(objects[2].version, 0u); // the most recent
    // Never sent: not restored, and the record says why, as the results do.
    EXPECT_EQ(objects[4].outcome, ObjectOutcome::NotFound);
    EXPECT_EQ(objects[4].status, ReportedObject::kNotSent);
    EXPECT_EQ(objects[4].message, "no object Nope in Marrowby");
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
    EXPECT_EQ(runs[0].onError, OnError::End);
    ASSERT_EQ(runs[0].objects.size(), 2u);
    EXPECT_EQ(runs[0].objects[1].outcome, ObjectOutcome::NotTried);
    EXPECT_EQ(runs[0].objects[1].message, "the run ended at the failure of Object-1.Marrowby");
}

// What was asked stands in the record as the results say it: the version asked for when none
// could be picked (not "most recent"), a leaf as an object, and an object below a container
// restored with its subtree as part of it.
TEST(Journal, KeepsWhatWasAskedAndWhatWasDone)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"Object-2.Sales.Marrowby@<=2026-01-01T00:00:00Z", "Team.Sales.Marrowby",
                       "Object-4.Team.Sales.Marrowby", "Object-1.Marrowby"}),
              1);
    const std::vector<RunReport> runs = Runs(run);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_THAT(Names(runs[0]), ElementsAre("Object-1.Marrowby", "Object-2.Sales.Marrowby",
                                            "Team.Sales.Marrowby", "Object-4.Team.Sales.Marrowby"));
    const std::vector<ReportedObject> &objects = runs[0].objects;
    EXPECT_EQ(objects[0].scope, ObjectScope::Object);
    EXPECT_EQ(objects[0].version, 0u);
    EXPECT_EQ(objects[1].outcome, ObjectOutcome::Failed);
    EXPECT_EQ(objects[1].versionAsked, "<=2026-01-01T00:00:00Z");
    EXPECT_EQ(objects[1].scope, ObjectScope::Object);
    EXPECT_EQ(objects[2].scope, ObjectScope::Subtree);
    EXPECT_EQ(objects[3].scope, ObjectScope::InSubtree);
    EXPECT_TRUE(objects[3].Restored());
    // The journal's own line says it in words.
    std::ifstream journal(run.JournalPath());
    const std::string line((std::istreambuf_iterator<char>(journal)), {});
    EXPECT_THAT(
        line,
        HasSubstr(R"("version":"<=2026-01-01T00:00:00Z","scope":"object","outcome":"failed")"));
    EXPECT_THAT(line, HasSubstr(R"("scope":"in subtree","outcome":"restored")"));
    EXPECT_THAT(line, testing::Not(HasSubstr("with its subtree")));
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
