// A command-line restore against the scripted server: what is found, marked and sent, in which
// order, what each object's result says, and the exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "cli/RestoreWalk.h"
#include "tests/cli/CommandFixture.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

namespace
{
std::vector<std::string> Column(const std::vector<readback::Row> &rows, std::size_t column)
{
    std::vector<std::string> cells;
    for (const readback::Row &row : rows) {
        cells.push_back(row.at(column));
    }
    return cells;
}

enum Field { Object, Version, Scope, Outcome, Message };

TEST(RestoreCommand, RestoresAContainerWithItsWholeSubtreeInOneRequest)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Object-4.Team.Sales.Marrowby", "Sales.Marrowby"}), 0)
        << run.err.str();
    EXPECT_THAT(run.Restores(), ElementsAre("Sales.Marrowby +subtree"));
    const std::vector<readback::Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_THAT(rows[0], ElementsAre("Sales.Marrowby", "newest", "subtree", "restored", ""));
    EXPECT_THAT(rows[1], ElementsAre("Object-4.Team.Sales.Marrowby", "newest", "in subtree",
                                     "restored", "restored with Sales.Marrowby"));
    EXPECT_EQ(run.script.OutstandingReplies(), 0u);
}

TEST(RestoreCommand, RestoresParentsBeforeChildrenWhateverTheOrderAsked)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Object-4.Team.Sales.Marrowby", "Team.Sales.Marrowby/",
                       "v1.2.Marrowby", "Object-1.Marrowby", "Sales.Marrowby/"}),
              0)
        << run.err.str();
    EXPECT_THAT(run.Restores(),
                ElementsAre("Object-1.Marrowby +subtree", "Sales.Marrowby", "Team.Sales.Marrowby",
                            "Object-4.Team.Sales.Marrowby +subtree", "v1.2.Marrowby +subtree"));
    EXPECT_THAT(Column(run.Rows(), Object),
                ElementsAre("Object-1.Marrowby", "Sales.Marrowby", "Team.Sales.Marrowby",
                            "Object-4.Team.Sales.Marrowby", "v1.2.Marrowby"));
    EXPECT_THAT(Column(run.Rows(), Scope),
                ElementsAre("object", "alone", "alone", "object", "object"));
}

TEST(RestoreCommand, PicksVersionsByExactTimeAndByAtOrBefore)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Object-2.Sales.Marrowby@<=2026-12-02T00:00:00Z",
                       "Sales.Marrowby/@2026-11-30T00:40:00Z"}),
              0)
        << run.err.str();
    EXPECT_THAT(run.Restores(),
                ElementsAre("Sales.Marrowby @" + std::to_string(kMonday),
                            "Object-2.Sales.Marrowby +subtree @" + std::to_string(kTuesday)));
    EXPECT_THAT(Column(run.Rows(), Version),
                ElementsAre("2026-11-30T00:40:00Z", "2026-12-01T00:40:00Z"));
}

TEST(RestoreCommand, AVersionTheObjectLacksIsAFailureThatNamesItsVersions)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Object-2.Sales.Marrowby@2026-11-30T00:41:00Z",
                       "Object-2.Sales.Marrowby@<=2026-01-01T00:00:00Z",
                       "Object-3.Sales.Marrowby@"
                       "<=2030-01-01T00:00:00Z",
                       "Object-1.Marrowby"}),
              1);
    EXPECT_THAT(run.Restores(), ElementsAre("Object-1.Marrowby +subtree"));
    const std::vector<readback::Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_THAT(rows[1],
                ElementsAre("Object-2.Sales.Marrowby", "2026-11-30T00:41:00Z", "object", "failed",
                            "no version at 2026-11-30T00:41:00Z; it has "
                            "2026-12-04T00:40:00Z, 2026-12-01T00:40:00Z, "
                            "2026-11-30T00:40:00Z"));
    EXPECT_THAT(rows[2][Message], HasSubstr("asked for as Object-2.Sales.Marrowby@2026-11-30"));
    EXPECT_THAT(rows[3],
                ElementsAre("Object-3.Sales.Marrowby", "<=2030-01-01T00:00:00Z", "object", "failed",
                            "no version at or before 2030-01-01T00:00:00Z; it has no "
                            "versions"));
}

TEST(RestoreCommand, AContainerWithItsSubtreeGoesAtItsMostRecentVersionOnly)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Sales.Marrowby@2026-11-30T00:40:00Z"}), 1);
    EXPECT_THAT(run.Restores(), IsEmpty());
    EXPECT_THAT(run.Rows().at(0)[Message], HasSubstr("Sales.Marrowby/ restores the container "
                                                     "alone at a version"));

    // Below a container restored with its subtree, an object cannot have a version of its own,
    // whichever comes first.
    EXPECT_EQ(
        run.Run({"--format=csv", "Object-2.Sales.Marrowby@2026-11-30T00:40:00Z", "Sales.Marrowby"}),
        1);
    EXPECT_THAT(run.Restores(), ElementsAre("Sales.Marrowby +subtree"));
    EXPECT_THAT(run.Rows().at(1), ElementsAre("Object-2.Sales.Marrowby", "2026-11-30T00:40:00Z",
                                              "in subtree", "failed",
                                              "inside Sales.Marrowby, which is restored with its "
                                              "whole subtree at its most recent version"));
}

TEST(RestoreCommand, ObjectsThatDoNotExistAreNotFoundAndNothingIsSentForThem)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Nope.Marrowby", "Object-9.Team.Sales.Marrowby",
                       "Object-1.Elsewhere", "Object-1.Marrowby/", "Object-2.Object-1.Marrowby"}),
              1);
    EXPECT_THAT(run.Restores(), IsEmpty());
    const std::vector<readback::Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_THAT(rows[0], ElementsAre("Object-1.Marrowby", "newest", "object", "failed",
                                     "not a container: without the trailing / the object itself "
                                     "is restored"));
    EXPECT_THAT(rows[1], ElementsAre("Nope.Marrowby", "newest", "", "not found",
                                     "no object Nope in Marrowby"));
    EXPECT_THAT(rows[2][Message], "no object Object-9 in Team.Sales.Marrowby");
    EXPECT_THAT(rows[3][Message], "not below the top context Marrowby");
    EXPECT_EQ(rows[4][Outcome], "not found");
}

// A listing the server cut short proves nothing: what it lacks may exist all the same.
TEST(RestoreCommand, AnObjectMissingFromACutListingFailsWithTheServersWord)
{
    CommandRun run;
    Directory(run.script);
    run.script.SetListingNote("Sales.Marrowby", "size limit exceeded after 3 entries");
    EXPECT_EQ(run.Run({"--format=csv", "Object-9.Sales.Marrowby", "Object-2.Sales.Marrowby"}), 1);
    EXPECT_THAT(run.Restores(), ElementsAre("Object-2.Sales.Marrowby +subtree"));
    EXPECT_THAT(run.Rows().at(1),
                ElementsAre("Object-9.Sales.Marrowby", "newest", "", "failed",
                            "no object Object-9 in Sales.Marrowby, whose listing is not whole: "
                            "size limit exceeded after 3 entries"));
}

// A listing that fails on the way says nothing of what lies below: the objects there fail with
// the server's reason, the listing is asked for again for the next one, and the rest goes on.
TEST(RestoreCommand, AListingThatFailsOnTheWayFailsTheObjectsBelowWithTheServersReason)
{
    CommandRun run;
    Directory(run.script);
    run.script.SetListingFailure("Sales.Marrowby", 1, "Can't contact LDAP server");
    EXPECT_EQ(run.Run({"--format=csv", "Object-2.Sales.Marrowby", "Object-4.Team.Sales.Marrowby",
                       "Object-1.Marrowby"}),
              1);
    EXPECT_THAT(run.Restores(), ElementsAre("Object-1.Marrowby +subtree"));
    const std::vector<readback::Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_THAT(rows[1], ElementsAre("Object-2.Sales.Marrowby", "newest", "", "failed",
                                     "the listing of Sales.Marrowby failed: Can't contact LDAP "
                                     "server"));
    EXPECT_EQ(rows[2][Outcome], "failed");
    std::size_t salesListings = 0;
    for (const LoggedRequest &request : run.script.RequestsOf(ListChildren)) {
        salesListings += request.name == "Sales.Marrowby" && request.lastId == 0 ? 1 : 0;
    }
    EXPECT_EQ(salesListings, 2u) << "a failed listing is asked for again";
}

TEST(RestoreCommand, EachOnErrorChoiceWithAFailingObject)
{
    // Run order: Gone/ (fails), Object-6.Gone, Object-1, Sales/, Object-2.Sales (fails),
    // Object-3.Sales, Object-4.Team.Sales.
    const std::vector<std::string> objects = {"Object-4.Team.Sales.Marrowby",
                                              "Object-3.Sales.Marrowby",
                                              "Object-2.Sales.Marrowby",
                                              "Sales.Marrowby/",
                                              "Object-1.Marrowby",
                                              "Object-6.Gone.Marrowby",
                                              "Gone.Marrowby/"};
    const struct {
        const char *mode;
        std::vector<std::string> answers;
        std::vector<std::string> sent;
        std::vector<std::string> outcomes; // in run order
        int exitCode;
    } cases[] = {
        {"continue",
         {},
         {"Gone.Marrowby", "Object-1.Marrowby +subtree", "Sales.Marrowby",
          "Object-2.Sales.Marrowby +subtree", "Object-3.Sales.Marrowby +subtree",
          "Object-4.Team.Sales.Marrowby +subtree"},
         {"failed", "skipped", "restored", "restored", "failed", "restored", "restored"},
         1},
        {"end",
         {},
         {"Gone.Marrowby"},
         {"failed", "skipped", "skipped", "skipped", "skipped", "skipped", "skipped"},
         1},
        // c: as continue; s: the rest of Sales is passed over too; q: nothing more.
        {"ask",
         {"c", "s"},
         {"Gone.Marrowby", "Object-1.Marrowby +subtree", "Sales.Marrowby",
          "Object-2.Sales.Marrowby +subtree"},
         {"failed", "skipped", "restored", "restored", "failed", "skipped", "skipped"},
         1},
        {"ask",
         {"what?", "q"},
         {"Gone.Marrowby"},
         {"failed", "skipped", "skipped", "skipped", "skipped", "skipped", "skipped"},
         1},
    };
    for (const auto &c : cases) {
        CommandRun run;
        Directory(run.script);
        run.script.SetRestoreOutcome("Gone.Marrowby", 32, "No such parent.");
        run.script.SetRestoreOutcome("Object-2.Sales.Marrowby", 50, "Insufficient access");
        run.terminal = ScriptedTerminal(true);
        for (const std::string &answer : c.answers) {
            run.terminal.Answer(answer);
        }
        std::vector<std::string> words = {"--format=csv", "--on-error", c.mode};
        words.insert(words.end(), objects.begin(), objects.end());
        EXPECT_EQ(run.Run(words), c.exitCode) << c.mode;
        EXPECT_EQ(run.Restores(), c.sent) << c.mode;
        EXPECT_EQ(Column(run.Rows(), Outcome), c.outcomes) << c.mode;
        if (std::string(c.mode) == "continue") {
            EXPECT_EQ(run.Rows().at(1)[Message], "below Gone.Marrowby, which failed");
            EXPECT_EQ(run.Rows().at(4)[Message], "Insufficient access");
        }
    }
}

TEST(RestoreCommand, AskPutsTheQuestionAfterEachFailure)
{
    CommandRun run;
    Directory(run.script);
    run.script.SetRestoreOutcome("Gone.Marrowby", 32, "No such parent.");
    run.terminal = ScriptedTerminal(true);
    run.terminal.Answer("c");
    EXPECT_EQ(run.Run({"--on-error", "ask", "Gone.Marrowby/", "Object-1.Marrowby"}), 1);
    EXPECT_THAT(run.terminal.Questions(),
                ElementsAre("Restore of Gone.Marrowby failed: No such parent. Continue, skip the "
                            "rest of this subtree, or stop? [c/s/q] "));
    EXPECT_THAT(run.Restores(), ElementsAre("Gone.Marrowby", "Object-1.Marrowby +subtree"));
}

TEST(RestoreCommand, AskWithoutATerminalIsRefusedBeforeAnythingIsSent)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--on-error=ask", "Object-1.Marrowby"}), 2);
    EXPECT_THAT(run.err.str(), HasSubstr("--on-error ask needs a terminal"));
    EXPECT_THAT(run.err.str(), HasSubstr("usage: tarvik-restore"));
    EXPECT_THAT(run.script.OpenedNames(), IsEmpty());
    EXPECT_THAT(run.script.Requests(), IsEmpty());
}

// An entry as a describing server gives it: in the backup or not, live or not.
ObjectDescription Described(std::vector<DescribedAttribute> backup,
                            std::vector<DescribedAttribute> live, bool parentMissing = false)
{
    ObjectDescription description;
    description.inBackup = !backup.empty();
    description.live = !live.empty();
    description.parentMissing = parentMissing;
    description.backup = std::move(backup);
    description.current = std::move(live);
    return description;
}

// Gone comes back with what it held, Object-1 has one attribute changed and one added since,
// Sales is as its backup holds it.
void DescribedDirectory(ScriptedServer &script)
{
    Directory(script);
    script.SetDescription("Gone.Marrowby", Described({{"ou", {"Gone"}}}, {}));
    script.SetDescription("Object-6.Gone.Marrowby",
                          Described({{"cn", {"Object-6"}}}, {}, /*parentMissing=*/true));
    script.SetDescription(
        "Object-1.Marrowby",
        Described({{"cn", {"Object-1"}}, {"description", {"old"}}},
                  {{"cn", {"Object-1"}}, {"description", {"new"}}, {"telephoneNumber", {"1"}}}));
    script.SetDescription("Sales.Marrowby", Described({{"ou", {"Sales", "Verkauf"}}},
                                                      {{"ou", {"Verkauf", "Sales"}}}));
    script.SetDescriptionFailure("Team.Sales.Marrowby", 1, "the snapshot cannot be read");
    script.SetDescription("Object-4.Team.Sales.Marrowby", Described({{"cn", {"Object-4"}}}, {}));
}

TEST(RestoreCommand, DryRunSaysWhatEachRestoreWouldChangeInRunOrderAndWritesNothing)
{
    CommandRun run;
    DescribedDirectory(run.script);
    EXPECT_EQ(run.Run({"--dry-run", "Sales.Marrowby/", "Object-1.Marrowby", "Gone.Marrowby",
                       "Object-6.Gone.Marrowby"}),
              0)
        << run.err.str();
    EXPECT_THAT(run.script.RequestsOf(RestoreObject), IsEmpty());
    // Each object with a mark of its own is described once, in the order a run restores them.
    std::vector<std::string> described;
    for (const LoggedRequest &request : run.script.RequestsOf(DescribeObject)) {
        if (request.lastId == 0) {
            described.push_back(request.name);
        }
    }
    EXPECT_THAT(described,
                testing::IsSupersetOf({"Gone.Marrowby", "Object-1.Marrowby", "Sales.Marrowby"}));
    EXPECT_THAT(described, testing::Not(testing::Contains("Object-6.Gone.Marrowby")));
    const std::string text = run.out.str();
    EXPECT_TRUE(text.starts_with("1 to add, 1 to change, 1 unchanged, 0 cannot be restored\n"))
        << text;
    const std::size_t gone = text.find("Gone.Marrowby  ");
    const std::size_t object1 = text.find("Object-1.Marrowby");
    const std::size_t sales = text.find("Sales.Marrowby  ");
    EXPECT_TRUE(gone < object1 && object1 < sales) << text;
    EXPECT_THAT(text, HasSubstr("subtree     would restore  add, with everything below it\n"));
    EXPECT_THAT(text, HasSubstr("would restore  would be restored with Gone.Marrowby\n"));
    EXPECT_THAT(text, HasSubstr("object      would restore  change 2 attributes\n"));
    EXPECT_THAT(text, HasSubstr("alone       would restore  nothing to change\n"));
    EXPECT_THAT(text, HasSubstr("\n4 would be restored, 0 failed, 0 skipped\n"));
    EXPECT_EQ(run.script.OutstandingReplies(), 0u);
}

TEST(RestoreCommand, DryRunSaysWhatCannotBeRestoredAndPassesOverWhatLiesBelowIt)
{
    CommandRun run;
    DescribedDirectory(run.script);
    EXPECT_EQ(
        run.Run({"--dry-run", "--format=csv", "Object-6.Gone.Marrowby", "Team.Sales.Marrowby/",
                 "Object-4.Team.Sales.Marrowby", "Object-1.Marrowby"}),
        1);
    EXPECT_THAT(run.script.RequestsOf(RestoreObject), IsEmpty());
    const std::vector<readback::Row> rows = run.Rows();
    ASSERT_EQ(rows.size(), 4u) << run.out.str();
    EXPECT_THAT(rows[0], ElementsAre("Object-6.Gone.Marrowby", "newest", "object", "failed",
                                     "cannot restore: its parent is missing and not marked"));
    EXPECT_THAT(rows[1], ElementsAre("Object-1.Marrowby", "newest", "object", "would restore",
                                     "change 2 attributes"));
    EXPECT_THAT(rows[2], ElementsAre("Team.Sales.Marrowby", "newest", "alone", "failed",
                                     "cannot restore: the snapshot cannot be read"));
    EXPECT_THAT(rows[3], ElementsAre("Object-4.Team.Sales.Marrowby", "newest", "object", "skipped",
                                     "below Team.Sales.Marrowby, which cannot be restored"));
    // What a dry run cannot find is said as in a real run.
    EXPECT_EQ(run.Run({"--dry-run", "--format=json", "Nope.Marrowby"}), 1);
    EXPECT_THAT(run.out.str(), HasSubstr("\"outcome\": \"not found\""));
    EXPECT_THAT(run.script.RequestsOf(RestoreObject), IsEmpty());
}

TEST(RestoreCommand, DryRunOnAServerThatCannotCompareSaysSoAndReportsNothing)
{
    CommandRun run;
    Directory(run.script); // describes nothing, as the simulation
    const std::string output = run.folder.Path("out.csv");
    EXPECT_EQ(run.Run({"--dry-run", "--output", output, "Object-1.Marrowby"}), 1);
    EXPECT_EQ(run.err.str(), "tarvik-restore: This backup server cannot compare versions.\n");
    EXPECT_EQ(run.out.str(), "");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_THAT(run.script.RequestsOf(ListChildren), IsEmpty());
    EXPECT_THAT(run.script.RequestsOf(RestoreObject), IsEmpty());
}

TEST(RestoreCommand, AnObjectAskedForTwiceIsRestoredOnce)
{
    CommandRun run;
    Directory(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "Object-1.Marrowby", "Object-1.Marrowby@newest"}), 0);
    EXPECT_THAT(run.Restores(), ElementsAre("Object-1.Marrowby +subtree"));
    EXPECT_EQ(run.Rows().size(), 1u);
}

// A password on the command line would be visible to every user of the machine.
TEST(RestoreCommand, PasswordOnlyFromAProtectedFileOrTheTerminal)
{
    CommandRun run;
    Directory(run.script);
    const std::string shared = run.folder.Write("shared", "s3cret\n");
    for (const mode_t mode : {0644, 0640, 0620}) {
        ::chmod(shared.c_str(), mode);
        EXPECT_EQ(run.Run({"--user", "admin", "--password-file", shared, "Object-1.Marrowby"}), 2);
        EXPECT_THAT(run.err.str(), HasSubstr("a password file is for its owner alone"));
        EXPECT_THAT(run.script.OpenedNames(), IsEmpty());
    }

    EXPECT_EQ(run.Run({"--user", "admin", "Object-1.Marrowby"}), 2);
    EXPECT_THAT(run.err.str(), HasSubstr("give --password-file FILE, or run on a terminal"));
    EXPECT_THAT(run.script.OpenedNames(), IsEmpty());

    const std::string own = run.folder.Write("own", "s3cret\nsecond line\n");
    ::chmod(own.c_str(), 0600);
    run.script.SetAcceptedLogin("admin", "s3cret");
    EXPECT_EQ(run.Run({"--user", "admin", "--password-file", own, "Object-1.Marrowby"}), 0)
        << run.err.str();
    EXPECT_THAT(run.script.Logins(),
                ElementsAre(std::pair<std::string, std::string>("admin", "s3cret")));

    run.terminal = ScriptedTerminal(true);
    run.terminal.Answer("wrong");
    EXPECT_EQ(run.Run({"--user", "admin", "Object-1.Marrowby"}), 3);
    EXPECT_THAT(run.terminal.Questions(), ElementsAre("(secret) Password for admin: "));
    EXPECT_THAT(run.err.str(), HasSubstr("User / password invalid."));
    EXPECT_EQ(run.script.RequestsOf(RestoreObject).size(), 1u); // only the run that logged in
}

TEST(RestoreCommand, AServerThatNeedsALoginAsksOnTheTerminalOrFails)
{
    CommandRun run;
    Directory(run.script);
    run.script.SetLoggedIn(false);
    run.script.SetAcceptedLogin("admin", "pw");
    EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 3);
    EXPECT_THAT(run.err.str(), HasSubstr("needs a login"));

    run.terminal = ScriptedTerminal(true);
    for (const char *answer : {"admin", "bad", "admin", "pw"}) {
        run.terminal.Answer(answer);
    }
    EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 0) << run.err.str();
    EXPECT_THAT(run.terminal.Questions(),
                ElementsAre("User: ", "(secret) Password: ", "User: ", "(secret) Password: "));
    EXPECT_THAT(run.Restores(), ElementsAre("Object-1.Marrowby +subtree"));
}

TEST(RestoreCommand, ServerSelectionAndItsExitStatus)
{
    {
        CommandRun run("[SERVER]\nBackupServer=FS1\nBackupServer=FS2\nBackupServer=FS3\n");
        Directory(run.script);
        run.script.SetOpenResult("FS1", 1);
        EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 0);
        EXPECT_THAT(run.script.OpenedNames(), ElementsAre("FS1", "FS2"));
    }
    {
        CommandRun run;
        run.script.SetOpenResult("FS9", 1);
        EXPECT_EQ(run.Run({"--server", "FS9", "Object-1.Marrowby"}), 3);
        EXPECT_THAT(run.err.str(), HasSubstr("Unable to open server: FS9"));
        EXPECT_THAT(run.script.OpenedNames(), ElementsAre("FS9"));
    }
    {
        CommandRun run("[SERVER]\nBackupServer=FS1\n");
        run.script.SetOpenResult("FS1", 1);
        EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 3);
        EXPECT_THAT(run.err.str(), HasSubstr("Unable to open any servers defined in TARVIK.INI"));
    }
    {
        // Refused for their settings, nothing sent: a settings fault, without a usage line...
        CommandRun run("[SERVER]\nBackupServer=FS1\nBackupServer=FS2\n");
        run.script.SetOpenResult("FS1", ServerBackend::kRefusedBySettings);
        run.script.SetOpenResult("FS2", ServerBackend::kRefusedBySettings);
        EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 2);
        EXPECT_THAT(run.err.str(), HasSubstr("Unable to open any servers defined in TARVIK.INI"));
        EXPECT_THAT(run.err.str(), Not(HasSubstr("usage: ")));
        EXPECT_EQ(run.Run({"--server", "FS2", "Object-1.Marrowby"}), 2);
        // ...unless a server was tried that may have been sent something.
        run.script.SetOpenResult("FS2", 1);
        EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 3);
    }
    {
        CommandRun run(""); // no TARVIK.INI: a settings fault
        EXPECT_EQ(run.Run({"Object-1.Marrowby"}), 2);
        EXPECT_THAT(run.err.str(), HasSubstr("Unable to open configuration file: TARVIK.INI"));
        Directory(run.script);
        EXPECT_EQ(run.Run({"--server", "FS1", "Object-1.Marrowby"}), 0); // a name needs none
    }
}

TEST(RestoreCommand, BadArgumentsExitWithTwoAndAUsageLineBeforeAnythingIsSent)
{
    for (const std::vector<std::string> &words : {std::vector<std::string>{},
                                                  {"--format", "xml", "a.Marrowby"},
                                                  {"a.Marrowby@someday"},
                                                  {"--from", "/nonexistent/list", "--dry-run"},
                                                  {"--output", "/nonexistent/x", "a.M"}}) {
        CommandRun run;
        EXPECT_EQ(run.Run(words), 2);
        EXPECT_THAT(run.err.str(), HasSubstr("usage: tarvik-restore"));
        EXPECT_THAT(run.script.OpenedNames(), IsEmpty());
    }
    CommandRun run;
    EXPECT_EQ(run.Run({"--help"}), 0);
    EXPECT_THAT(run.out.str(), HasSubstr("--on-error MODE"));
}

TEST(RestoreCommand, ObjectsFromAListOnStandardInputOrInAFile)
{
    CommandRun run;
    Directory(run.script);
    const std::string list = "# ticket 4711\nObject-1.Marrowby\n\n  Team.Sales.Marrowby/  \n";
    EXPECT_EQ(run.Run({"--from", "-"}, list), 0) << run.err.str();
    EXPECT_THAT(run.Restores(), ElementsAre("Object-1.Marrowby +subtree", "Team.Sales.Marrowby"));

    run.script.ClearLog();
    EXPECT_EQ(run.Run({"--from", run.folder.Write("list.txt", list)}), 0);
    EXPECT_EQ(run.Restores().size(), 2u);

    EXPECT_EQ(run.Run({"--from", run.folder.Write("bad.txt", "a.Marrowby\nb@x\n")}), 2);
    EXPECT_THAT(run.err.str(), HasSubstr("bad.txt:2: "));
}

TEST(RestoreCommand, AnInterruptEndsTheRunAfterTheRequestInFlight)
{
    CommandRun run;
    Directory(run.script);
    std::size_t restores = 0;
    run.script.OnRequest([&restores](const LoggedRequest &request) {
        if (request.type == RestoreObject && ++restores == 2) {
            InterruptFlag::Set(true); // as the signal handler does
        }
    });
    const std::string output = run.folder.Path("results.csv");
    std::ofstream(output) << "yesterday's results\n";
    EXPECT_EQ(run.Run({"--format=csv", "--output", output, "Object-1.Marrowby", "Sales.Marrowby/",
                       "Object-2.Sales.Marrowby", "Object-3.Sales.Marrowby"}),
              1);
    EXPECT_THAT(run.Restores(), ElementsAre("Object-1.Marrowby +subtree", "Sales.Marrowby"));
    EXPECT_THAT(run.err.str(), HasSubstr("interrupted: 2 restored, 2 failed, 0 skipped"));
    std::ifstream file(output);
    const std::string written((std::istreambuf_iterator<char>(file)), {});
    const std::optional<std::vector<readback::Row>> rows = readback::Csv(written);
    ASSERT_TRUE(rows) << written;
    ASSERT_EQ(rows->size(), 5u);
    // Not restored because the program is ending: a failure, as in the window.
    EXPECT_THAT((*rows)[3], ElementsAre("Object-2.Sales.Marrowby", "newest", "object", "failed",
                                        "Not restored: the program is ending."));
    // Nothing but the results (and the journal of past runs, which the tests keep there) is left
    // in the folder.
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(run.folder.Path(""))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_THAT(names, ElementsAre("TARVIK.INI", "results.csv", "runs.jsonl"));
}

TEST(RestoreCommand, AnInterruptWhileLookingSendsNoRestore)
{
    CommandRun run;
    Directory(run.script);
    run.script.OnRequest([](const LoggedRequest &request) {
        if (request.type == ListChildren && request.name == "Sales.Marrowby") {
            InterruptFlag::Set(true);
        }
    });
    EXPECT_EQ(run.Run({"--format=json", "Object-2.Sales.Marrowby", "Object-1.Marrowby"}), 1);
    EXPECT_THAT(run.script.RequestsOf(RestoreObject), IsEmpty());
    const std::optional<readback::Json> json = readback::JsonReader(run.out.str()).Document();
    ASSERT_TRUE(json) << run.out.str();
    ASSERT_EQ(json->items.size(), 2u);
    for (const readback::Json &record : json->items) {
        EXPECT_EQ(record.Member("outcome")->string, "failed");
        EXPECT_EQ(record.Member("message")->string, "Not restored: the program is ending.");
    }
}
} // namespace
