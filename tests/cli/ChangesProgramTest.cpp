// tarvik-restore --changes against a real directory server with a catalogue of two snapshots:
// the report read back as CSV, filters, the objects it gives piped into a dry run, and the words
// it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/ProgramRun.h"
#include "tests/cli/ReadBack.h"
#include "tests/support/core/SlapdServer.h"

using testing::HasSubstr;
using testing::UnorderedElementsAre;

namespace
{
constexpr const char *kFirst = "1970-01-01T00:16:40Z";  // snapshot 1000
constexpr const char *kSecond = "1970-01-01T00:33:20Z"; // snapshot 2000

const std::string kStaff = "dn: ou=Staff,o=Marrowby\nobjectClass: organizationalUnit\nou: Staff\n\n"
                           "dn: cn=Cid,ou=Staff,o=Marrowby\nobjectClass: person\ncn: Cid\nsn: C\n";

// Snapshot 1000 holds the seed and Staff with Cid; by snapshot 2000 Bob was deleted; since then
// Staff's subtree went too, Ann's surname changed and Gil came.
class ChangesProgram : public testing::Test
{
  protected:
    ChangesProgram()
        : slapd({MarrowbySeed() + "\n" + kStaff, ""}),
          folder("[SERVER]\nBackupServer=DIR1\n\n[DIR1]\nUri=" + slapd.SocketUri() +
                 "\nBase=o=Marrowby\nCatalogue=" + slapd.Catalogue() + "\nSasl=EXTERNAL\n")
    {
    }
    void SetUp() override
    {
        ASSERT_TRUE(slapd.Running()) << slapd.Failure();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
        slapd.WriteSnapshot(2000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("ou=Staff,o=Marrowby", true));
        ASSERT_TRUE(slapd.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
                                 "replace: sn\nsn: Smythe\n"));
        ASSERT_TRUE(slapd.Modify("dn: cn=Gil,ou=Sales,o=Marrowby\nchangetype: add\n"
                                 "objectClass: person\ncn: Gil\nsn: G\n"));
    }

    // The CSV rows after the header, each as object, kind, change and attributes.
    static std::vector<std::string> Rows(const ProgramResult &result)
    {
        const std::optional<std::vector<readback::Row>> rows = readback::Csv(result.out);
        std::vector<std::string> joined;
        if (!rows || rows->empty()) {
            ADD_FAILURE() << result.out;
            return joined;
        }
        EXPECT_THAT((*rows)[0], testing::ElementsAre("object", "kind", "change", "old name",
                                                     "attributes", "deleted"));
        for (std::size_t i = 1; i < rows->size(); ++i) {
            const readback::Row &row = (*rows)[i];
            joined.push_back(row[0] + " " + row[1] + " " + row[2] + " " + row[4]);
        }
        return joined;
    }

    SlapdServer slapd;
    ProgramFolder folder;
};

TEST_F(ChangesProgram, ReportsSinceABackupAndBetweenTwo)
{
    ProgramResult result = folder.Run({"--changes", kFirst, "--format", "csv"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Rows(result), UnorderedElementsAre("Bob.Sales.Marrowby leaf deleted ",
                                                   "Staff.Marrowby container deleted ",
                                                   "Cid.Staff.Marrowby leaf deleted ",
                                                   "Ann.Sales.Marrowby leaf modified sn",
                                                   "Gil.Sales.Marrowby leaf added "));

    result = folder.Run({"--changes", std::string(kFirst) + ".." + kSecond, "--format=csv"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Rows(result), UnorderedElementsAre("Bob.Sales.Marrowby leaf deleted "));

    // Nothing changed is a report too, with its counts.
    result = folder.Run({"--changes", std::string("<=") + kSecond + ".." + kSecond});
    EXPECT_EQ(result.exitCode, 1); // the same backup twice is no span of time
    result = folder.Run({"--changes", kSecond, "--under", "Sales.Marrowby", "--kind", "moved"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "0 changes: 0 deleted, 0 added, 0 modified, 0 moved\n");
}

TEST_F(ChangesProgram, FiltersByKindAttributeAndContainer)
{
    const struct {
        std::vector<std::string> words;
        std::vector<std::string> rows;
    } cases[] = {
        {{"--kind", "added,modified"},
         {"Ann.Sales.Marrowby leaf modified sn", "Gil.Sales.Marrowby leaf added "}},
        {{"--attribute", "SN"}, {"Ann.Sales.Marrowby leaf modified sn"}},
        {{"--under", "Staff.Marrowby"},
         {"Staff.Marrowby container deleted ", "Cid.Staff.Marrowby leaf deleted "}},
    };
    for (const auto &test : cases) {
        std::vector<std::string> words{"--changes", kFirst, "--format", "csv"};
        words.insert(words.end(), test.words.begin(), test.words.end());
        const ProgramResult result = folder.Run(words);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_THAT(Rows(result), testing::UnorderedElementsAreArray(test.rows)) << test.words[0];
    }
}

// The objects a report gives are what a list of objects to restore reads: undoing the deletions
// and the modification since the first backup previews exactly those objects at its version,
// and changes nothing.
TEST_F(ChangesProgram, ObjectsPipedIntoADryRunPreviewUndoingTheChanges)
{
    const ProgramResult objects =
        folder.Run({"--changes", kFirst, "--kind", "deleted,modified", "--format", "objects"});
    EXPECT_EQ(objects.exitCode, 0) << objects.err;
    std::vector<std::string> lines;
    std::istringstream in(objects.out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const std::string at = std::string("@<=") + kFirst;
    EXPECT_THAT(lines, UnorderedElementsAre("Bob.Sales.Marrowby" + at, "Staff.Marrowby/" + at,
                                            "Cid.Staff.Marrowby" + at, "Ann.Sales.Marrowby" + at));

    const std::string before = slapd.Slapcat();
    const ProgramResult dryRun = folder.Run({"--from", "-", "--dry-run"}, objects.out);
    EXPECT_EQ(dryRun.exitCode, 0) << dryRun.err;
    EXPECT_THAT(dryRun.out,
                testing::StartsWith("3 to add, 1 to change, 0 unchanged, 0 cannot be restored\n"))
        << dryRun.out;
    EXPECT_THAT(dryRun.out, HasSubstr("Cid.Staff.Marrowby"));
    EXPECT_THAT(dryRun.out, testing::Not(HasSubstr("Gil")));
    EXPECT_EQ(slapd.Slapcat(), before);
}

TEST_F(ChangesProgram, RefusesWordsThatMakeNoReport)
{
    const struct {
        std::vector<std::string> words;
        int exitCode;
        const char *says;
    } cases[] = {
        {{"--changes", "live"}, 2, "is not a backup time"},
        {{"--changes", "yesterday"}, 2, "is not a backup time"},
        {{"--changes", kFirst, "--kind", "renamed"}, 2, "not 'renamed'"},
        {{"--changes", kFirst, "Ann.Sales.Marrowby"}, 2, "give no objects"},
        {{"--changes", kFirst, "--dry-run"}, 2, "restores nothing"},
        {{"--under", "Sales.Marrowby", "Ann.Sales.Marrowby"}, 2, "only with --changes"},
        {{"--format", "objects", "Ann.Sales.Marrowby"}, 2, "only with --changes"},
        {{"--changes", "1970-01-01T00:20:00Z"}, 1, "no backup at 1970-01-01T00:20:00Z"},
        {{"--changes", "<=1970-01-01T00:10:00Z"}, 1, "no backup at or before"},
        {{"--changes", kFirst, "--under", "Nobody.Marrowby"}, 1, "the report of changes failed"},
    };
    for (const auto &test : cases) {
        const ProgramResult result = folder.Run(test.words);
        EXPECT_EQ(result.exitCode, test.exitCode) << test.words[1] << ": " << result.err;
        EXPECT_THAT(result.err, HasSubstr(test.says)) << test.words[1];
    }
}
} // namespace
