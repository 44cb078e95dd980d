// The built tarvik-restore against a real directory server (a private slapd with snapshots of it
// beside the program), without a display and without a terminal as a script runs it, and on a
// pseudo-terminal as a person runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "report/RunJournal.h"
#include "tests/cli/ProgramRun.h"
#include "tests/cli/ReadBack.h"
#include "tests/support/core/SlapdServer.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace
{
// Bob's description in the two snapshots and in the live directory; and a reader, who may read
// the directory but not write to it.
std::string WithBob(const std::string &description)
{
    return MarrowbySeed() + "description: " + description +
           "\n\ndn: cn=reader,o=Marrowby\nobjectClass: person\nobjectClass: simpleSecurityObject\n"
           "cn: reader\nsn: Reader\nuserPassword: r3ad.me\n";
}

class Program : public testing::Test
{
  protected:
    Program()
        : slapd({WithBob("live"), ""}),
          folder("[SERVER]\nBackupServer=DIR1\n\n[DIR1]\nUri=" + slapd.SocketUri() +
                 "\nBase=o=Marrowby\nCatalogue=" + slapd.Catalogue() + "\nSasl=EXTERNAL\n")
    {
    }
    void SetUp() override
    {
        ASSERT_TRUE(slapd.Running()) << slapd.Failure();
        SlapdServer copy({WithBob("first"), ""});
        ASSERT_TRUE(copy.Running()) << copy.Failure();
        slapd.WriteSnapshot(1000, copy.Slapcat());
        copy.Modify("dn: cn=Bob,ou=Sales,o=Marrowby\nchangetype: modify\nreplace: description\n"
                    "description: second\n");
        slapd.WriteSnapshot(2000, copy.Slapcat());
    }
    std::string Bob() { return slapd.Search("cn=Bob,ou=Sales,o=Marrowby", "base"); }
    // Words that log in as the reader, whose restores the server refuses.
    std::vector<std::string> AsReader(std::vector<std::string> words)
    {
        const std::string password = folder.folder.Write("reader", "r3ad.me\n");
        ::chmod(password.c_str(), 0600);
        words.insert(words.begin(), {"--user", "reader.Marrowby", "--password-file", password});
        return words;
    }

    SlapdServer slapd;
    ProgramFolder folder;
};

TEST_F(Program, RestoresADeletedSubtreeWithoutADisplay)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    const ProgramResult result = folder.Run({"--format", "json", "Sales.Marrowby"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(slapd.Exists("cn=Ann,ou=Sales,o=Marrowby"));
    EXPECT_THAT(Bob(), HasSubstr("description: second")); // the newest snapshot
    const std::optional<readback::Json> json = readback::JsonReader(result.out).Document();
    ASSERT_TRUE(json) << result.out;
    ASSERT_EQ(json->items.size(), 1u);
    EXPECT_EQ(json->items[0].Member("object")->string, "Sales.Marrowby");
    EXPECT_EQ(json->items[0].Member("scope")->string, "subtree");
    EXPECT_EQ(json->items[0].Member("outcome")->string, "restored");
    EXPECT_EQ(json->items[0].Member("message")->string,
              "with its subtree: 3 objects added, 0 changed");
    EXPECT_EQ(result.err, ""); // no progress and no noise without a terminal
    // The run is in the user's journal of past runs, where the window's Past Runs reads it.
    const JournalListing journal = RunJournal(folder.Path("data") + "/tarvik/runs.jsonl").List();
    ASSERT_EQ(journal.entries.size(), 1u) << journal.error;
    EXPECT_EQ(journal.entries[0].run.server, "DIR1");
    EXPECT_EQ(journal.entries[0].restored, 1u);
}

TEST_F(Program, PicksVersionsByExactTimeAndByAtOrBefore)
{
    ProgramResult result = folder.Run({"Bob.Sales.Marrowby@1970-01-01T00:16:40Z"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Bob(), HasSubstr("description: first"));

    result = folder.Run({"--format=csv", "Bob.Sales.Marrowby@<=1970-01-01T00:41:39Z"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Bob(), HasSubstr("description: second"));
    const std::optional<std::vector<readback::Row>> rows = readback::Csv(result.out);
    ASSERT_TRUE(rows && rows->size() == 2) << result.out;
    EXPECT_EQ((*rows)[1][1], "1970-01-01T00:33:20Z");

    result = folder.Run({"--format=csv", "Bob.Sales.Marrowby@1970-01-01T00:20:00Z"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.out, HasSubstr("no version at 1970-01-01T00:20:00Z; it has "
                                      "1970-01-01T00:33:20Z, 1970-01-01T00:16:40Z"));
}

TEST_F(Program, ObjectsNotFoundAndFailuresGiveExitOne)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    // The reader may not write: the server says so.
    const ProgramResult result =
        folder.Run(AsReader({"--format=csv", "Ann.Sales.Marrowby", "Nobody.Marrowby"}));
    EXPECT_EQ(result.exitCode, 1);
    const std::optional<std::vector<readback::Row>> rows = readback::Csv(result.out);
    ASSERT_TRUE(rows && rows->size() == 3) << result.out;
    EXPECT_EQ((*rows)[1][3], "failed");
    EXPECT_THAT((*rows)[1][4], HasSubstr("nsufficient access"));
    EXPECT_EQ((*rows)[2][3], "not found");
    EXPECT_FALSE(slapd.Exists("cn=Ann,ou=Sales,o=Marrowby"));
}

TEST_F(Program, FindsLiveAndDeletedObjectsByName)
{
    ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
    ProgramResult result = folder.Run({"--format=csv", "--find", "B?B"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::optional<std::vector<readback::Row>> rows = readback::Csv(result.out);
    ASSERT_TRUE(rows) << result.out;
    EXPECT_THAT(*rows, ElementsAre(ElementsAre("object", "kind", "state"),
                                   ElementsAre("Bob.Sales.Marrowby", "leaf", "deleted")));
    // What is typed is only text to the server: no match, and nothing else said.
    result = folder.Run({"--find", "*)(cn=*"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "tarvik-restore: no object below Marrowby matches \"*)(cn=*\"\n");
    EXPECT_THAT(result.out, HasSubstr("0 found"));
}

// What --find prints is what the command line takes: a backslash or a dot of a name itself is
// escaped in a full name, a blank or a star is not.
TEST_F(Program, TakesEveryFullNameItsFindPrints)
{
    ASSERT_TRUE(slapd.Modify(OddNamesLdif()));
    slapd.WriteSnapshot(3000, slapd.Slapcat());
    ASSERT_TRUE(slapd.Delete("cn=back\\5Cslash,ou=Sales,o=Marrowby"));
    ASSERT_TRUE(slapd.Delete("cn=v1.2.3,ou=Sales,o=Marrowby"));
    const ProgramResult found = folder.Run({"--format=csv", "--find", "*"});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    const std::optional<std::vector<readback::Row>> rows = readback::Csv(found.out);
    ASSERT_TRUE(rows) << found.out;
    std::vector<std::string> odd;
    for (const readback::Row &row : *rows) {
        if (row[0].starts_with("back") || row[0].starts_with("v1") || row[0].starts_with("Zo")) {
            odd.push_back(row[0]);
        }
    }
    EXPECT_THAT(odd,
                testing::UnorderedElementsAre("back\\\\slash.Sales.Marrowby",
                                              "v1\\.2\\.3.Sales.Marrowby", "Zoë *.Sales.Marrowby"));

    std::string list;
    for (const std::string &name : odd) {
        list += name + "\n";
    }
    const ProgramResult restored = folder.Run({"--format=csv", "--from", "-"}, list);
    EXPECT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_TRUE(slapd.Exists("cn=back\\5Cslash,ou=Sales,o=Marrowby"));
    EXPECT_TRUE(slapd.Exists("cn=v1.2.3,ou=Sales,o=Marrowby"));
}

TEST_F(Program, SaysWhichMissingParentsTheServerAddedFirst)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    const ProgramResult result = folder.Run({"--format=csv", "Ann.Sales.Marrowby"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("restored,missing parents added first: Sales.Marrowby"));
    EXPECT_TRUE(slapd.Exists("cn=Ann,ou=Sales,o=Marrowby"));
    EXPECT_FALSE(slapd.Exists("cn=Bob,ou=Sales,o=Marrowby")); // the parent alone, not its subtree
}

// The reader may not write: a dry run that tried to would fail for it, or differ.
TEST_F(Program, DryRunSaysWhatWouldChangeTheSameWithoutWriteRightsAndChangesNothing)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    const std::string before = slapd.Slapcat();
    const std::vector<std::string> words = {"--dry-run", "Ann.Sales.Marrowby", "Sales.Marrowby/",
                                            "reader.Marrowby@1970-01-01T00:16:40Z"};
    const ProgramResult result = folder.Run(words);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out,
                testing::StartsWith("2 to add, 0 to change, 1 unchanged, 0 cannot be restored\n"));
    // Parents first, whatever the order asked.
    const std::size_t sales = result.out.find("\nSales.Marrowby ");
    const std::size_t ann = result.out.find("\nAnn.Sales.Marrowby ");
    EXPECT_TRUE(sales < ann && ann != std::string::npos) << result.out;
    EXPECT_THAT(result.out, HasSubstr("alone   would restore  add\n"));
    EXPECT_THAT(result.out, HasSubstr("object  would restore  nothing to change\n"));
    EXPECT_THAT(result.out, HasSubstr("\n3 would be restored, 0 failed, 0 skipped\n"));

    const ProgramResult asReader = folder.Run(AsReader(words));
    EXPECT_EQ(asReader.exitCode, 0) << asReader.err;
    EXPECT_EQ(asReader.out, result.out);
    EXPECT_EQ(slapd.Slapcat(), before);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("data") + "/tarvik/runs.jsonl"));
}

TEST_F(Program, DryRunCountsTheAttributesAChangeWouldRestore)
{
    // Bob's description differs from the newest backup, and he has gained a telephone number.
    ASSERT_TRUE(slapd.Modify("dn: cn=Bob,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "add: telephoneNumber\ntelephoneNumber: +44 1 2345\n"));
    const ProgramResult result = folder.Run({"--dry-run", "--format=json", "Bob.Sales.Marrowby"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::optional<readback::Json> json = readback::JsonReader(result.out).Document();
    ASSERT_TRUE(json && json->items.size() == 1u) << result.out;
    EXPECT_EQ(json->items[0].Member("outcome")->string, "would restore");
    EXPECT_EQ(json->items[0].Member("message")->string, "change 2 attributes");
    EXPECT_THAT(Bob(), HasSubstr("telephoneNumber"));
}

TEST_F(Program, RefusesAPasswordFileOthersCanRead)
{
    const std::string password = folder.folder.Write("password", "secret\n");
    ::chmod(password.c_str(), 0640); // its group may read it
    const ProgramResult result =
        folder.Run({"--user", "admin.Marrowby", "--password-file", password, "Bob.Sales.Marrowby"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.err, HasSubstr("has mode 0640: a password file is for its owner alone"));
    EXPECT_THAT(result.err, HasSubstr("usage: "));

    ::chmod(password.c_str(), 0600);
    const ProgramResult loggedIn = folder.Run({"--dry-run", "--user", "admin.Marrowby",
                                               "--password-file", password, "Bob.Sales.Marrowby"});
    EXPECT_EQ(loggedIn.exitCode, 0) << loggedIn.err;
}

TEST_F(Program, ListOnStandardInputAndResultsReplacedInAFile)
{
    ASSERT_TRUE(slapd.Delete("cn=Ann,ou=Sales,o=Marrowby"));
    const std::string output = folder.Path("results.json");
    const ProgramResult result =
        folder.Run({"--from", "-", "--format", "json", "--output", output},
                   "# restore after ticket 12\nAnn.Sales.Marrowby\n\nBob.Sales.Marrowby\n");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::optional<readback::Json> json =
        readback::JsonReader(ProgramFolder::Read(output)).Document();
    ASSERT_TRUE(json);
    EXPECT_EQ(json->items.size(), 2u);
    EXPECT_TRUE(slapd.Exists("cn=Ann,ou=Sales,o=Marrowby"));
    struct stat written {
    };
    ASSERT_EQ(::stat(output.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 07777, 0600u) << "the results name objects: the owner's alone";
}

TEST_F(Program, AsksOnTheTerminalAndShowsProgressThere)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    TerminalSession session(folder,
                            AsReader({"--on-error", "ask", "--output", folder.Path("out.txt"),
                                      "Ann.Sales.Marrowby", "Bob.Sales.Marrowby"}));
    ASSERT_TRUE(session.WaitFor("[c/s/q] ")) << session.Shown();
    EXPECT_THAT(session.Shown(), HasSubstr("restoring [1/2] Ann.Sales.Marrowby"));
    EXPECT_THAT(session.Shown(), HasSubstr("Restore of Ann.Sales.Marrowby failed: "));
    session.Type("q\n");
    EXPECT_EQ(session.Finish(), 1);
    const std::string results = ProgramFolder::Read(folder.Path("out.txt"));
    EXPECT_THAT(results, HasSubstr("0 restored, 1 failed, 1 skipped"));
    EXPECT_THAT(results, Not(HasSubstr("\x1b"))); // progress stays on the terminal
}

TEST_F(Program, ATerminationSignalStillLeavesCompleteResults)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    const std::string output = folder.Path("out.csv");
    TerminalSession session(folder, AsReader({"--on-error", "ask", "--format", "csv", "--output",
                                              output, "Ann.Sales.Marrowby", "Bob.Sales.Marrowby"}));
    ASSERT_TRUE(session.WaitFor("[c/s/q] ")) << session.Shown();
    session.Signal(SIGTERM);
    EXPECT_EQ(session.Finish(), 1);
    const std::optional<std::vector<readback::Row>> rows =
        readback::Csv(ProgramFolder::Read(output));
    ASSERT_TRUE(rows && rows->size() == 3);
    EXPECT_EQ((*rows)[1][3], "failed");
    EXPECT_THAT((*rows)[2], ElementsAre("Bob.Sales.Marrowby", "newest", "object", "failed",
                                        "Not restored: the program is ending."));
}

TEST_F(Program, AskWithoutATerminalIsRefused)
{
    const ProgramResult result = folder.Run({"--on-error", "ask", "Bob.Sales.Marrowby"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.err, HasSubstr("--on-error ask needs a terminal"));
}
} // namespace

namespace
{
// The nightly job: the index follows the folder, says what it read, and a cut dump fails it.
TEST_F(Program, IndexBringsTheCatalogueUpToDateAndSaysWhatItRead)
{
    const ProgramResult first = folder.Run({"--index"});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_THAT(first.out, HasSubstr("DIR1: " + slapd.Catalogue()));
    EXPECT_THAT(first.out, HasSubstr("read 1000.ldif: 6 entries"));
    EXPECT_THAT(first.out, HasSubstr("read 2000.ldif: 6 entries"));
    EXPECT_THAT(first.out, HasSubstr("2 snapshots indexed, 0 left out; index " +
                                     folder.Path("cache") + "/tarvik/"));

    const std::string dump = slapd.Slapcat();
    slapd.WriteSnapshot(3000, dump.substr(0, dump.size() - 4));
    std::filesystem::remove(slapd.Catalogue() + "/1000.ldif");
    const ProgramResult second = folder.Run({"--server", "DIR1", "--index"});
    EXPECT_EQ(second.exitCode, 1) << second.err;
    EXPECT_THAT(second.out, Not(HasSubstr("read 2000.ldif")));
    EXPECT_THAT(second.out, HasSubstr("left out 3000.ldif: its last entry"));
    EXPECT_THAT(second.out, HasSubstr("removed 1000.ldif (gone from the folder)"));
    EXPECT_THAT(second.out, HasSubstr("1 snapshot indexed, 1 left out"));

    // What the index holds is what a restore then takes, without a dump being read.
    const ProgramResult dry = folder.Run({"--dry-run", "Bob.Sales.Marrowby@<=1970-01-01T00:40:00Z"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err << dry.out;

    EXPECT_EQ(folder.Run({"--index", "Bob.Sales.Marrowby"}).exitCode, 2);
    EXPECT_EQ(folder.Run({"--server", "NONE", "--index"}).exitCode, 2);
}
} // namespace
