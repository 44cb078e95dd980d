// Describing objects of a domain against a private controller and exports of it: a modified
// object beside an export, a deleted one as the controller keeps it (with the recycle bin off and
// on), a preview of a run that says what would refuse a restore (a parent still deleted, an
// account name taken since) or leave part of it behind and writes nothing, and previews the run
// then bears out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "model/AttributeComparison.h"
#include "run/PreviewWalk.h"
#include "server/ServerClient.h"
#include "server/directory/DomainRestore.h"
#include "tests/server/directory/DomainFixture.h"
#include "tests/server/directory/PreviewForest.h"

using testing::ElementsAre;
using testing::IsSupersetOf;
using testing::Pair;

namespace
{
constexpr unsigned SnapshotTime = 1700000000;
using D = AttributeDifference;
// Said of an object deleted after the newest export, with the recycle bin off: the run would
// bring back only what its tombstone kept.
const std::string kInPart = ": add without what its tombstone did not keep: no snapshot holds it";

// Bytes that are no text (the start of a picture, 13 bytes), in LDIF's base64; the second
// differs from the first in its last byte only.
const std::string kPhoto = "/9j/4AAQSkZJRgABAQ==";
const std::string kOtherPhoto = "/9j/4AAQSkZJRgABAg==";

class DomainDescribeTest : public DomainFixture
{
  protected:
    DomainDescribeTest() = default;
    explicit DomainDescribeTest(const DomainController::Options &options) : DomainFixture(options)
    {
    }

    DescribedObject Describe(const std::string &name, BackupTime version = 0)
    {
        ServerClient client(*server);
        return client.Describe(name, version);
    }
    static std::vector<std::pair<std::string, D>> Differences(const DescribedObject &described)
    {
        std::vector<std::pair<std::string, D>> lines;
        for (const ComparedAttribute &line : AttributeComparison::Of(described.description)) {
            lines.emplace_back(line.name, line.difference);
        }
        return lines;
    }
    static const DescribedAttribute *Find(const std::vector<DescribedAttribute> &side,
                                          const std::string &name)
    {
        const auto found = std::find_if(side.begin(), side.end(), [&](const auto &attribute) {
            return LowerAscii(attribute.name) == LowerAscii(name);
        });
        return found != side.end() ? &*found : nullptr;
    }
    static std::string LowerAscii(std::string text)
    {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }
    // Nothing a restore leaves to the controller is on either side.
    static void ExpectNoBookkeeping(const ObjectDescription &description)
    {
        for (const auto *side : {&description.backup, &description.current}) {
            for (const char *kept :
                 {"objectGUID", "objectSid", "whenChanged", "uSNChanged", "isDeleted",
                  "lastKnownParent", "nTSecurityDescriptor", "replPropertyMetaData", "name"}) {
                EXPECT_EQ(Find(*side, kept), nullptr) << kept;
            }
        }
    }
};

TEST_F(DomainDescribeTest, ModifiedObjectBesideASnapshotShowsEachKindOfDifference)
{
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: modify\nadd: otherTelephone\notherTelephone: 1\n"
                          "otherTelephone: 2\n-\nadd: thumbnailPhoto\nthumbnailPhoto:: " +
                          kPhoto + "\n"));
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: modify\nreplace: description\ndescription: Moved south\n"
                          "-\ndelete: givenName\n-\nadd: telephoneNumber\ntelephoneNumber: 555\n"
                          "-\nreplace: otherTelephone\notherTelephone: 2\notherTelephone: 1\n"
                          "-\nreplace: thumbnailPhoto\nthumbnailPhoto:: " +
                          kOtherPhoto + "\n"));
    OpenAndLogIn();
    List(Sales);

    const DescribedObject described = Describe(Ann, SnapshotTime);

    ASSERT_EQ(described.end, RequestEnd::Answered) << described.failure << Log();
    EXPECT_TRUE(described.description.inBackup);
    EXPECT_TRUE(described.description.live);
    EXPECT_THAT(Differences(described),
                IsSupersetOf({Pair("cn", D::Same), Pair("sn", D::Same),
                              Pair("description", D::Changed), Pair("givenName", D::OnlyInBackup),
                              Pair("otherTelephone", D::Same), Pair("thumbnailPhoto", D::Changed),
                              Pair("telephoneNumber", D::OnlyLive), Pair("mail", D::Same)}));
    EXPECT_EQ(AttributeComparison::Changes(AttributeComparison::Of(described.description)), 4u);
    ExpectNoBookkeeping(described.description);
    // The picture's bytes came through whole on both sides, and are shown by size and hash.
    for (const auto *side : {&described.description.backup, &described.description.current}) {
        const DescribedAttribute *photo = Find(*side, "thumbnailPhoto");
        ASSERT_NE(photo, nullptr);
        ASSERT_EQ(photo->values.size(), 1u);
        EXPECT_EQ(photo->values[0].size(), 13u);
        EXPECT_THAT(AttributeComparison::Shown(photo->values[0]),
                    testing::StartsWith("13 bytes, #"));
    }

    // Its present state is the live object itself: a restore of it changes nothing.
    const DescribedObject now = Describe(Ann);
    ASSERT_EQ(now.end, RequestEnd::Answered) << now.failure;
    EXPECT_EQ(AttributeComparison::Changes(AttributeComparison::Of(now.description)), 0u);
    // A time no snapshot holds, and a name the controller does not know.
    EXPECT_FALSE(Describe(Ann, SnapshotTime + 1).description.inBackup);
    EXPECT_EQ(Describe("Nobody.Sales.marrowby.test").end, RequestEnd::Failed);
}

// With the recycle bin off the controller keeps little of a deleted object, with it on nearly
// everything; either way the snapshot completes it, as a restore would.
class DomainDescribeDeletedTest : public DomainDescribeTest,
                                  public testing::WithParamInterface<bool>
{
  protected:
    DomainDescribeDeletedTest() : DomainDescribeTest(DomainController::Options{GetParam()}) {}
};

TEST_P(DomainDescribeDeletedTest, DeletedObjectShowsWhatComesBackUnderTheNameItHad)
{
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    ASSERT_TRUE(dc.Delete(AnnDn));
    // First as the controller alone keeps it.
    LdapSettings alone = Settings();
    alone.catalogue.clear();
    ASSERT_EQ(Open(alone), 0) << Log();
    ASSERT_EQ(domain->LoginCurrent(LoginRecord{}), 0) << Log();
    List(Sales);

    DescribedObject kept = Describe(Ann);

    ASSERT_EQ(kept.end, RequestEnd::Answered) << kept.failure << Log();
    EXPECT_TRUE(kept.description.inBackup);
    EXPECT_FALSE(kept.description.live);
    EXPECT_FALSE(kept.description.parentMissing);
    const DescribedAttribute *cn = Find(kept.description.backup, "cn");
    ASSERT_NE(cn, nullptr);
    EXPECT_THAT(cn->values, ElementsAre("Ann Smith")); // not its name as deleted
    EXPECT_EQ(Find(kept.description.backup, "sn") != nullptr, GetParam());
    for (const auto &line : Differences(kept)) {
        EXPECT_EQ(line.second, D::OnlyInBackup) << line.first;
    }
    ExpectNoBookkeeping(kept.description);

    // With the exports, what the tombstone lost comes from the newest, as a restore takes it.
    OpenAndLogIn();
    List(Sales);
    for (BackupTime version : {BackupTime{0}, BackupTime{SnapshotTime}}) {
        const DescribedObject completed = Describe(Ann, version);
        ASSERT_EQ(completed.end, RequestEnd::Answered) << completed.failure << Log();
        EXPECT_TRUE(completed.description.inBackup) << version;
        const DescribedAttribute *sn = Find(completed.description.backup, "sn");
        ASSERT_NE(sn, nullptr) << version;
        EXPECT_THAT(sn->values, ElementsAre("Smith"));
        EXPECT_THAT(Find(completed.description.backup, "cn")->values, ElementsAre("Ann Smith"));
        ExpectNoBookkeeping(completed.description);
    }
}

INSTANTIATE_TEST_SUITE_P(RecycleBin, DomainDescribeDeletedTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? "On" : "Off";
                         });
// The tree as the window holds it, over the controller, to preview a run.
class DomainPreviewTest : public DomainDescribeTest, protected PreviewForest
{
  protected:
    void Load() { PreviewForest::Load(*server, Top, {Top, Sales, North}); }
};

TEST_F(DomainPreviewTest, WhatWouldRefuseARestoreIsSaidAwkwardNamesComeBackAndNothingIsWritten)
{
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: modify\nreplace: description\ndescription: Moved\n"));
    ASSERT_TRUE(dc.Delete(NorthDn, true));
    const std::string zoeDn = std::string("CN=Smith\\, Zoë,") + SalesDn;
    const std::string zoe = std::string("Smith, Zoë.") + Sales;
    ASSERT_TRUE(
        dc.Modify("dn: " + zoeDn + "\nchangetype: add\nobjectClass: user\nsAMAccountName: zoe\n"));
    ASSERT_TRUE(dc.Delete(zoeDn));
    // Dee's account name went to another user after she was deleted.
    const std::string deeDn = std::string("CN=Dee,") + SalesDn;
    const std::string dee = std::string("Dee.") + Sales;
    ASSERT_TRUE(dc.Modify("dn: " + deeDn +
                          "\nchangetype: add\nobjectClass: user\n"
                          "sAMAccountName: dee\n"));
    ASSERT_TRUE(dc.Delete(deeDn));
    ASSERT_TRUE(dc.Modify(std::string("dn: CN=Dee Two,") + SalesDn +
                          "\nchangetype: add\nobjectClass: user\nsAMAccountName: dee\n"));
    OpenAndLogIn();
    Load();
    const DescribedObject deleted = Describe(zoe);
    ASSERT_EQ(deleted.end, RequestEnd::Answered) << deleted.failure << Log();
    ASSERT_NE(Find(deleted.description.backup, "cn"), nullptr);
    EXPECT_THAT(Find(deleted.description.backup, "cn")->values, ElementsAre("Smith, Zoë"));
    const DescribedObject bob = Describe(Bob);
    ASSERT_EQ(bob.end, RequestEnd::Answered) << bob.failure << Log();
    EXPECT_TRUE(bob.description.parentMissing);
    EXPECT_FALSE(bob.description.parentAddable); // a controller never adds a parent itself
    const std::string before =
        dc.Search(DomainController::Base, "sub", "(objectClass=*)", {"*"}, true);

    selection.Mark(At(Bob), Marked);
    selection.Mark(At(Ann), Marked);
    selection.ChooseVersion(At(Ann), SnapshotTime);
    selection.Mark(At(zoe), Marked);
    selection.Mark(At(dee), Marked);
    EXPECT_THAT(Preview(),
                ElementsAre(std::string(Ann) + ": change 1 attribute",
                            dee +
                                ": cannot restore: the account name dee of Dee is used by CN=Dee "
                                "Two," +
                                std::string(SalesDn),
                            std::string(Bob) + ": cannot restore: its parent is missing and not "
                                               "marked",
                            zoe + kInPart));
    selection.Clear(At(dee));
    // The parent first, then the child, as a user ticks them.
    selection.Mark(At(North), MarkedAlone);
    selection.Mark(At(Bob), Marked);
    EXPECT_THAT(Preview(),
                ElementsAre(std::string(Ann) + ": change 1 attribute", std::string(North) + ": add",
                            std::string(Bob) + ": add", zoe + kInPart));
    EXPECT_EQ(dc.Search(DomainController::Base, "sub", "(objectClass=*)", {"*"}, true), before);
}

// The tree over the controller as the window makes it afresh, to mark and preview a run.
struct FreshTree {
    FreshTree(BackupServer &server, const std::string &top, const std::vector<std::string> &open)
        : client(server)
    {
        forest.AppendItem(
            std::make_unique<ObjectItem>(top, DisplayItem::ContainerKind, &client, nullptr));
        static_cast<ObjectItem *>(forest.ItemAt(0))->Open();
        for (const std::string &name : open) {
            selection.FindLoaded(name)->Open();
        }
    }
    ObjectItem &At(const std::string &name)
    {
        ObjectItem *object = selection.FindLoaded(name);
        EXPECT_NE(object, nullptr) << name;
        return *object;
    }

    ServerClient client;
    NodeList forest;
    RestoreSelection selection{forest};
};

std::vector<std::string> Lines(const std::string &values)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < values.size();) {
        const std::size_t end = std::min(values.find('\n', at), values.size());
        lines.push_back(values.substr(at, end - at));
        at = end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Recycle bin off, an export in the catalogue: an OU whose group has two of its users as members
// is deleted as a whole and brought back with its subtree, again and again. The group's members
// come back with it every time, and the preview said beforehand what the run did.
TEST_F(DomainDescribeTest, AGroupComesBackWithItsMembersFromTheSubtreeEveryTime)
{
    const std::string deptDn = std::string("OU=Dept,") + DomainController::Base;
    const std::string umaDn = "CN=Uma," + deptDn;
    const std::string vicDn = "CN=Vic," + deptDn;
    const std::string adminsDn = "CN=Dept Admins," + deptDn;
    ASSERT_TRUE(dc.Modify(
        "dn: " + deptDn + "\nchangetype: add\nobjectClass: organizationalUnit\n\n" + "dn: " +
        umaDn + "\nchangetype: add\nobjectClass: user\nsAMAccountName: uma\n\n" + "dn: " + vicDn +
        "\nchangetype: add\nobjectClass: user\nsAMAccountName: vic\n\n" + "dn: CN=Wes," + deptDn +
        "\nchangetype: add\nobjectClass: user\nsAMAccountName: wes\n\n" + "dn: " + adminsDn +
        "\nchangetype: add\nobjectClass: group\nsAMAccountName: deptadmins\n"
        "member: " +
        umaDn + "\nmember: " + vicDn + "\n"));
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    OpenAndLogIn();
    const std::string dept = std::string("Dept.") + Top;
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(dc.Delete(deptDn, true));
        FreshTree tree(*server, Top, {});
        tree.selection.Mark(tree.At(dept), Marked);
        const std::vector<PreviewLine> lines = PreviewWalk(tree.selection).Build();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(RestorePreview::ActionText(lines.front()),
                  "add, with its subtree: 5 to add, 0 to change, 0 unchanged");
        EXPECT_TRUE(RestorePreview::Restorable(lines.front()));

        std::string message;
        std::optional<RestoreReport> written;
        EXPECT_EQ(tree.At(dept).Restore(message, written), 0) << message << Log();
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(written->addedCount, RestorePreview::Count(lines).add);
        EXPECT_EQ(Lines(Value(adminsDn, "member")), (std::vector<std::string>{umaDn, vicDn}));
    }
}

// Recycle bin off and no export holds the object: it can only come back as its tombstone kept
// it, which the run reports as a failure; the preview says the same beforehand.
TEST_F(DomainDescribeTest, AnObjectNoExportHoldsWouldComeBackOnlyInPartAndThePreviewSaysSo)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    OpenAndLogIn();
    FreshTree tree(*server, Top, {Sales});
    tree.selection.Mark(tree.At(Ann), Marked);
    const std::vector<PreviewLine> lines = PreviewWalk(tree.selection).Build();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(RestorePreview::ActionText(lines.front()),
              "add without what its tombstone did not keep: no snapshot holds it");
    EXPECT_FALSE(RestorePreview::Restorable(lines.front()));

    std::string message;
    EXPECT_EQ(tree.At(Ann).Restore(message), DomainRestore::PartlyRestored);
    EXPECT_THAT(message,
                testing::HasSubstr("what its tombstone did not keep: no snapshot holds it"));
}
} // namespace
