// Describing entries and previewing a restore run against a real directory and its snapshots:
// a modified entry, deleted leaves and subtrees, a child of a deleted parent, a binary value,
// names with awkward characters, a preview that a user without write rights sees the same
// while the directory stays as it was, and previews whose counts the run then bears out.
#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "model/RestorePreview.h"
#include "run/PreviewWalk.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "tests/server/directory/DirectoryFixture.h"
#include "tests/server/directory/PreviewForest.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Pair;

std::string Base64Of(const std::string &bytes)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        group |= i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0;
        group |= i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        text += digits[(group >> 18) & 63];
        text += digits[(group >> 12) & 63];
        text += i + 1 < bytes.size() ? digits[(group >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? digits[group & 63] : '=';
    }
    return text;
}

std::string Photo(unsigned char last)
{
    std::string bytes(3000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 31) & 0xff);
    }
    bytes.back() = static_cast<char>(last);
    return bytes;
}

const std::string kPeople =
    "\ndn: cn=Dee,ou=Sales,o=Marrowby\nobjectClass: inetOrgPerson\ncn: Dee\nsn: Old\n"
    "description: kept\ntelephoneNumber: 1\ntelephoneNumber: 2\ntelephoneNumber: 3\n"
    "jpegPhoto:: " +
    Base64Of(Photo(1)) +
    "\n\n"
    "dn: ou=East,ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\nou: East\n\n"
    "dn: cn=Cid,ou=East,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Cid\nsn: Brown\n\n"
    "dn: cn=Smith\\, John,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Smith, John\n"
    "sn: Smith\n\n"
    "dn: cn=Zoë Ågren,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Zoë Ågren\nsn: Agren\n\n"
    "dn: cn=reader,o=Marrowby\nobjectClass: person\nobjectClass: simpleSecurityObject\n"
    "cn: reader\nsn: Reader\nuserPassword: r3ad.me\n";

// Snapshot 1000 holds everything of the seed; the tests then change the live directory.
class DirectoryDescribeTest : public DirectoryFixture
{
  protected:
    DirectoryDescribeTest() : DirectoryFixture(MarrowbySeed() + kPeople) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
    }

    void Browse()
    {
        OpenAndLogIn();
        List("Marrowby");
        List("Sales.Marrowby");
    }

    DescribedObject Describe(const std::string &name, BackupTime version = 0)
    {
        ServerClient client(*server);
        return client.Describe(name, version);
    }

    static std::vector<std::pair<std::string, AttributeDifference>>
    Differences(const DescribedObject &described)
    {
        std::vector<std::pair<std::string, AttributeDifference>> lines;
        for (const ComparedAttribute &line : AttributeComparison::Of(described.description)) {
            lines.emplace_back(line.name, line.difference);
        }
        return lines;
    }
};

TEST_F(DirectoryDescribeTest, ModifiedEntryShowsEachKindOfDifferenceAndNoOperationalAttribute)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Dee,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "replace: sn\nsn: New\n-\n"
                             "delete: description\n-\n"
                             "add: title\ntitle: Chief\n-\n"
                             "replace: telephoneNumber\ntelephoneNumber: 3\ntelephoneNumber: 1\n"
                             "telephoneNumber: 2\n-\n"
                             "replace: jpegPhoto\njpegPhoto:: " +
                             Base64Of(Photo(2)) + "\n"));
    Browse();
    const DescribedObject described = Describe("Dee.Sales.Marrowby", 1000);
    ASSERT_EQ(described.end, RequestEnd::Answered) << described.failure << Log();
    EXPECT_TRUE(described.description.inBackup);
    EXPECT_TRUE(described.description.live);
    using D = AttributeDifference;
    EXPECT_THAT(Differences(described),
                ElementsAre(Pair("objectClass", D::Same), Pair("cn", D::Same),
                            Pair("sn", D::Changed), Pair("description", D::OnlyInBackup),
                            Pair("telephoneNumber", D::Same), Pair("jpegPhoto", D::Changed),
                            Pair("title", D::OnlyLive)));
    // The photo's bytes came through untouched on both sides.
    for (const auto *side : {&described.description.backup, &described.description.current}) {
        auto photo = std::find_if(side->begin(), side->end(), [](const auto &attribute) {
            return attribute.name == "jpegPhoto";
        });
        ASSERT_NE(photo, side->end());
        ASSERT_EQ(photo->values.size(), 1u);
        EXPECT_EQ(photo->values[0].size(), 3000u);
        EXPECT_TRUE(AttributeComparison::IsBinary(photo->values[0]));
    }
    EXPECT_EQ(std::find_if(described.description.backup.begin(), described.description.backup.end(),
                           [&](const auto &a) { return a.name == "jpegPhoto"; })
                  ->values[0],
              Photo(1));
}

TEST_F(DirectoryDescribeTest, DeletedEntriesAndTheirParents)
{
    ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    Browse();
    List("East.Sales.Marrowby");

    const DescribedObject bob = Describe("Bob.Sales.Marrowby");
    ASSERT_EQ(bob.end, RequestEnd::Answered) << bob.failure;
    EXPECT_FALSE(bob.description.live);
    EXPECT_FALSE(bob.description.parentMissing);
    for (const auto &line : Differences(bob)) {
        EXPECT_EQ(line.second, AttributeDifference::OnlyInBackup) << line.first;
    }
    const DescribedObject cid = Describe("Cid.East.Sales.Marrowby");
    ASSERT_EQ(cid.end, RequestEnd::Answered) << cid.failure;
    EXPECT_TRUE(cid.description.parentMissing);
    EXPECT_TRUE(cid.description.parentAddable); // the snapshot holds East

    // A version no snapshot has, and a name the directory does not know.
    EXPECT_FALSE(Describe("Bob.Sales.Marrowby", 999).description.inBackup);
    const DescribedObject unknown = Describe("Nobody.Sales.Marrowby");
    EXPECT_EQ(unknown.end, RequestEnd::Failed);
    EXPECT_THAT(unknown.failure, HasSubstr("Nobody.Sales.Marrowby"));
}

TEST_F(DirectoryDescribeTest, NamesWithAwkwardCharacters)
{
    Browse();
    for (const char *name : {"Smith, John.Sales.Marrowby", "Zoë Ågren.Sales.Marrowby"}) {
        const DescribedObject described = Describe(name, 1000);
        ASSERT_EQ(described.end, RequestEnd::Answered) << name << ": " << described.failure;
        EXPECT_TRUE(described.description.live) << name;
        EXPECT_EQ(AttributeComparison::Changes(AttributeComparison::Of(described.description)), 0u)
            << name;
    }
}

// The tree as the window holds it, over the server, to preview a run.
class DirectoryPreviewTest : public DirectoryDescribeTest, protected PreviewForest
{
  protected:
    void Load()
    {
        PreviewForest::Load(*server, "Marrowby",
                            {"Marrowby", "Sales.Marrowby", "East.Sales.Marrowby"});
    }
};

TEST_F(DirectoryPreviewTest, RunOrderWithParentsFirstAndTheSameWithoutWriteRights)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Dee,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "replace: sn\nsn: New\n-\nadd: title\ntitle: Chief\n"));
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
    const std::string before = slapd.Search("o=Marrowby", "sub", {"*", "+"});
    Browse();
    Load();
    selection.Mark(At("East.Sales.Marrowby"), MarkedAlone);
    selection.Mark(At("Cid.East.Sales.Marrowby"), Marked);
    selection.Mark(At("Bob.Sales.Marrowby"), Marked);
    selection.Mark(At("Dee.Sales.Marrowby"), Marked);
    selection.Mark(At("Ann.Sales.Marrowby"), Marked);
    const std::vector<std::string> expected = {
        "Ann.Sales.Marrowby: nothing to change",
        "Bob.Sales.Marrowby: add",
        "Dee.Sales.Marrowby: change 2 attributes",
        "East.Sales.Marrowby: add",
        "Cid.East.Sales.Marrowby: add",
    };
    EXPECT_THAT(Preview(), testing::ElementsAreArray(expected));

    // A user who may only read sees the same preview.
    ServerLogin login(*server);
    ASSERT_EQ(login.Login("reader.Marrowby", "r3ad.me"), 0) << Log();
    EXPECT_THAT(Preview(), testing::ElementsAreArray(expected));
    EXPECT_EQ(slapd.Search("o=Marrowby", "sub", {"*", "+"}), before);
}

TEST_F(DirectoryPreviewTest, ChildOfADeletedParentThatIsNotMarkedComesBackAfterItsParent)
{
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    Browse();
    Load();
    selection.Mark(At("Cid.East.Sales.Marrowby"), Marked);
    // A restore puts the missing parent back from the snapshot first, and the preview says so.
    EXPECT_THAT(Preview(),
                ElementsAre("East.Sales.Marrowby: add, as the parent of Cid.East.Sales.Marrowby",
                            "Cid.East.Sales.Marrowby: add, after its missing parents"));
    EXPECT_FALSE(slapd.Exists("ou=East,ou=Sales,o=Marrowby"));
}

// What the run wrote, as the server reports each restore.
struct RunWrites {
    std::size_t added = 0; // entries, missing parents included
    std::size_t changed = 0;
    std::size_t failed = 0;
};

struct PreviewCase {
    const char *label;
    std::function<bool(const SlapdServer &)> change; // made after the snapshot
    std::vector<std::string> open;                   // below the top, in this order
    std::vector<std::string> marked;                 // each Marked
    const char *counts;                              // what the preview counts
};

void PrintTo(const PreviewCase &previewCase, std::ostream *out)
{
    *out << previewCase.label;
}

class DirectoryPreviewCountsTest : public DirectoryPreviewTest,
                                   public testing::WithParamInterface<PreviewCase>
{
  protected:
    void MarkAndPreview(std::vector<PreviewLine> &lines)
    {
        for (const std::string &name : GetParam().marked) {
            selection.Mark(At(name), Marked);
        }
        lines = PreviewWalk(selection).Build();
    }
    RunWrites RunRestore()
    {
        RunWrites writes;
        RestoreSelection::RunOrder order = selection.StartRun();
        for (RestoreSelection::RunOrder::Step step = order.Next(); step.object != nullptr;
             step = order.Next()) {
            std::string message;
            std::optional<RestoreReport> written;
            const int32_t status = step.object->Restore(message, written);
            EXPECT_EQ(status, 0) << step.object->FullName() << ": " << message;
            if (written) {
                writes.added += written->addedCount + written->parentsAdded.size();
                writes.changed += written->changedCount;
            }
            writes.failed += status != 0 ? 1 : 0;
            status == 0 ? order.Restored() : order.Failed();
        }
        return writes;
    }
    std::size_t LiveEntriesBelow(const std::string &dn) const
    {
        const std::string found = slapd.Search(dn, "sub", {"1.1"});
        std::size_t count = 0;
        for (std::size_t at = found.find("dn:"); at != std::string::npos;
             at = found.find("dn:", at + 1)) {
            ++count;
        }
        return count;
    }
};

// The preview counts every entry the run then writes, and the run writes no other: a second
// preview of the same marks finds each of them as the snapshot holds it.
TEST_P(DirectoryPreviewCountsTest, ThePreviewCountsWhatTheRunThenWrites)
{
    ASSERT_TRUE(GetParam().change(slapd));
    Browse();
    PreviewForest::Load(*server, "Marrowby", GetParam().open);
    std::vector<PreviewLine> lines;
    MarkAndPreview(lines);
    const PreviewCounts previewed = RestorePreview::Count(lines);
    EXPECT_EQ(RestorePreview::CountsText(previewed), GetParam().counts);
    const auto firstParents = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [](const PreviewLine &line) { return line.part == PreviewPart::Parent; }));
    for (const PreviewLine &line : lines) {
        EXPECT_TRUE(line.part != PreviewPart::Object || RestorePreview::Restorable(line))
            << line.name << ": " << RestorePreview::ActionText(line);
    }

    const RunWrites written = RunRestore();
    EXPECT_EQ(written.added, previewed.add) << Log();
    EXPECT_EQ(written.changed, previewed.change);
    EXPECT_EQ(written.failed, 0u);
    EXPECT_EQ(LiveEntriesBelow("ou=Sales,o=Marrowby"), 8u); // all the snapshot holds

    MarkAndPreview(lines);
    const PreviewCounts after = RestorePreview::Count(lines);
    EXPECT_EQ(after.add + after.change + after.cannot, 0u) << RestorePreview::CountsText(after);
    // The missing parents are back by now, so no restore puts them back again.
    const auto parents = std::count_if(lines.begin(), lines.end(), [](const PreviewLine &line) {
        return line.part == PreviewPart::Parent;
    });
    EXPECT_EQ(parents, 0);
    EXPECT_EQ(after.unchanged + firstParents,
              previewed.add + previewed.change + previewed.unchanged);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, DirectoryPreviewCountsTest,
    testing::Values(
        // Sales was never opened: what its subtree holds comes from the server.
        PreviewCase{"PresentContainerWithDeletedChildren",
                    [](const SlapdServer &directory) {
                        return directory.Delete("cn=Bob,ou=Sales,o=Marrowby") &&
                               directory.Delete("ou=East,ou=Sales,o=Marrowby", true) &&
                               directory.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: "
                                                "modify\nreplace: sn\nsn: Married\n");
                    },
                    {"Marrowby"},
                    {"Sales.Marrowby"},
                    "3 to add, 1 to change, 4 unchanged, 0 cannot be restored"},
        PreviewCase{"DeletedSubtree",
                    [](const SlapdServer &directory) {
                        return directory.Delete("ou=Sales,o=Marrowby", true);
                    },
                    {"Marrowby"},
                    {"Sales.Marrowby"},
                    "8 to add, 0 to change, 0 unchanged, 0 cannot be restored"},
        PreviewCase{"ModifiedLeafAndAChildOfDeletedParents",
                    [](const SlapdServer &directory) {
                        return directory.Delete("ou=East,ou=Sales,o=Marrowby", true) &&
                               directory.Modify("dn: cn=Dee,ou=Sales,o=Marrowby\nchangetype: "
                                                "modify\nreplace: sn\nsn: New\n") &&
                               directory.Delete("cn=Smith\\, John,ou=Sales,o=Marrowby");
                    },
                    {"Marrowby", "Sales.Marrowby", "East.Sales.Marrowby"},
                    {"Dee.Sales.Marrowby", "Cid.East.Sales.Marrowby", "Smith, John.Sales.Marrowby"},
                    "3 to add, 1 to change, 0 unchanged, 0 cannot be restored"}),
    [](const testing::TestParamInfo<PreviewCase> &info) { return info.param.label; });
} // namespace
