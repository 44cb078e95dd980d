// Restores in a domain: deleted objects brought back where they were, with and without the
// recycle bin, completed from snapshots, and refused with nothing written where they cannot be.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>

#include "server/directory/DomainRestore.h"
#include "tests/server/directory/DomainFixture.h"

using testing::HasSubstr;

namespace
{
constexpr unsigned SnapshotTime = 1700000000;

// Every case runs with the recycle bin off (tombstones keep little) and on.
class DomainRestoreTest : public DomainFixture, public testing::WithParamInterface<bool>
{
  protected:
    DomainRestoreTest() : DomainFixture(DomainController::Options{GetParam()}) {}
    bool RecycleBin() const { return GetParam(); }
};

TEST_P(DomainRestoreTest, DeletedLeafComesBackWhereItWasAsTheSameObject)
{
    const std::string guid = Value(AnnDn, "objectGUID");
    const std::string sid = Value(AnnDn, "objectSid");
    ASSERT_FALSE(guid.empty());
    const auto deletedAt = static_cast<BackupTime>(std::time(nullptr)) - 1;
    ASSERT_TRUE(dc.Delete(AnnDn));
    OpenAndLogIn();
    ASSERT_EQ(List(Sales).front(), (Listed{"Ann Smith", false, false}));

    const Restored restored = Restore(Ann);

    EXPECT_EQ(Value(AnnDn, "objectGUID"), guid);
    EXPECT_EQ(Value(AnnDn, "objectSid"), sid);
    EXPECT_EQ(Value(AnnDn, "sAMAccountName"), "ann");
    EXPECT_FALSE(Deleted("ann"));
    EXPECT_EQ(List(Sales).front(), (Listed{"Ann Smith", false, true}));
    // Its present state is the one the restore made, as the controller dates it.
    const std::vector<BackupTime> history = History(Ann);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_GE(history.front(), deletedAt);
    if (RecycleBin()) {
        // The recycle bin kept everything, the membership too.
        EXPECT_EQ(restored.status, 0) << restored.message;
        EXPECT_EQ(Value(AnnDn, "sn"), "Smith");
        EXPECT_EQ(Value(AnnDn, "description"), "Sells to the north");
        EXPECT_EQ(Value(TeamDn, "member"), AnnDn);
    } else {
        // Without a snapshot the tombstone's few attributes are all there is: not a success.
        EXPECT_EQ(restored.status, DomainRestore::PartlyRestored);
        EXPECT_THAT(restored.message, HasSubstr("Ann Smith (what its tombstone did not keep"));
        EXPECT_EQ(Value(AnnDn, "sn"), "");
    }
    // Brought back whole: the controller lets it be deleted again, and it comes back again.
    ASSERT_TRUE(dc.Delete(AnnDn));
    EXPECT_TRUE(Deleted("ann"));
    EXPECT_EQ(Restore(Ann).status, restored.status);
    EXPECT_EQ(Value(AnnDn, "objectGUID"), guid);
}

TEST_P(DomainRestoreTest, WhatTheTombstoneLostComesFromTheNewestSnapshotInTheSameRun)
{
    dc.WriteSnapshot(SnapshotTime - 100, dc.Export());
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: modify\nreplace: mail\nmail: ann.smith@marrowby.test\n"));
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    ASSERT_TRUE(dc.Delete(AnnDn));
    OpenAndLogIn();

    const Restored restored = Restore(Ann);

    EXPECT_EQ(restored.status, 0) << restored.message << Log();
    EXPECT_EQ(Value(AnnDn, "sn"), "Smith");
    EXPECT_EQ(Value(AnnDn, "givenName"), "Ann");
    EXPECT_EQ(Value(AnnDn, "mail"), "ann.smith@marrowby.test");
    EXPECT_EQ(Value(AnnDn, "description"), "Sells to the north");
    EXPECT_EQ(Value(TeamDn, "member"), AnnDn);
}

TEST_P(DomainRestoreTest, DeletedContainerComesBackWithItsSubtreeParentsFirst)
{
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    // Deleting a subtree deletes the children first: Bob's link follows North when it goes.
    ASSERT_TRUE(dc.Delete(NorthDn, true));
    OpenAndLogIn();
    ASSERT_EQ(List(North), (std::vector<Listed>{{"Bob", false, false}}));

    const Restored restored = Restore(North, 0, true);

    EXPECT_EQ(restored.status, 0) << restored.message << Log();
    // The tree hears what came back, to draw it present.
    const RestoreReport *report = domain->LastRestoreReport();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->added, (std::vector<std::string>{North, Bob}));
    EXPECT_EQ(report->addedCount, 2u);
    EXPECT_TRUE(dc.Exists(NorthDn));
    EXPECT_EQ(Value(BobDn, "description"), "Drives north");
    EXPECT_FALSE(Deleted("bob"));
    EXPECT_EQ(List(North), (std::vector<Listed>{{"Bob", false, true}}));
}

TEST_P(DomainRestoreTest, ChildWhoseParentIsStillDeletedIsRefusedWithNothingWritten)
{
    ASSERT_TRUE(dc.Delete(NorthDn, true));
    OpenAndLogIn();
    List(North);

    const Restored restored = Restore(Bob);

    EXPECT_EQ(restored.status, DomainRestore::NotRestored);
    EXPECT_THAT(restored.message, HasSubstr("its parent North is deleted"));
    EXPECT_TRUE(Deleted("bob"));
    EXPECT_FALSE(dc.Exists(NorthDn));
}

TEST_P(DomainRestoreTest, ASnapshotsVersionOfALiveObjectIsWrittenOverIt)
{
    dc.WriteSnapshot(SnapshotTime, dc.Export());
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: modify\nreplace: description\ndescription: Moved south\n"
                          "-\ndelete: givenName\n-\nadd: telephoneNumber\ntelephoneNumber: 555\n"));
    OpenAndLogIn();
    List(Sales);

    const Restored restored = Restore(Ann, SnapshotTime);

    EXPECT_EQ(restored.status, 0) << restored.message << Log();
    EXPECT_EQ(Value(AnnDn, "description"), "Sells to the north");
    EXPECT_EQ(Value(AnnDn, "givenName"), "Ann");
    EXPECT_EQ(Value(AnnDn, "telephoneNumber"), "");
    // A time of which no snapshot holds the object is refused.
    const Restored unknown = Restore(Ann, SnapshotTime + 1);
    EXPECT_EQ(unknown.status, DomainRestore::NotRestored);
    EXPECT_THAT(unknown.message, HasSubstr("No version of " + std::string(AnnDn)));
}

// Turning the recycle bin on makes the tombstones left from before it recycled objects, which
// the controller no longer shows nor brings back: they leave the tree.
class DomainTombstoneTest : public DomainFixture
{
};

TEST_F(DomainTombstoneTest, TombstonesFromBeforeTheRecycleBinLeaveTheTreeOnceTheBinIsOn)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.EnableRecycleBin());
    ASSERT_TRUE(dc.Delete(BobDn));
    OpenAndLogIn();

    EXPECT_THAT(List(Sales),
                testing::ElementsAre(Listed{"North", true, true}, Listed{"Team", false, true}));
    EXPECT_THAT(List(North), testing::ElementsAre(Listed{"Bob", false, false}));
    EXPECT_EQ(Restore(Ann).status, DomainRestore::NotRestored);
    EXPECT_EQ(Restore(Bob).status, 0);
}

INSTANTIATE_TEST_SUITE_P(RecycleBin, DomainRestoreTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? "On" : "Off";
                         });

// A name or an account name that a live object uses since: the deleted object stays deleted.
struct TakenName {
    const char *label;
    const char *liveObject;
    const char *account;
    const char *named; // in the failure
};

class DomainNameTakenTest : public DomainFixture, public testing::WithParamInterface<TakenName>
{
};

TEST_P(DomainNameTakenTest, ANameALiveObjectUsesRefusesTheRestoreWithNothingWritten)
{
    const TakenName &taken = GetParam();
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + taken.liveObject +
                          "\nchangetype: add\nobjectClass: user\nsAMAccountName: " + taken.account +
                          "\n"));
    OpenAndLogIn();
    std::string deleted;
    for (const Listed &child : List(Sales)) {
        deleted = child.present ? deleted : child.name;
    }
    ASSERT_THAT(deleted, testing::StartsWith("Ann Smith"));

    const Restored restored = Restore(deleted + "." + Sales);

    EXPECT_EQ(restored.status, DomainRestore::NotRestored);
    EXPECT_THAT(restored.message, HasSubstr(taken.named));
    EXPECT_TRUE(Deleted("ann"));
    EXPECT_EQ(Value(taken.liveObject, "sAMAccountName"), taken.account);
}

INSTANTIATE_TEST_SUITE_P(
    LiveObjects, DomainNameTakenTest,
    testing::Values(
        TakenName{"Name", "CN=Ann Smith,OU=Sales,DC=marrowby,DC=test", "ann2",
                  "CN=Ann Smith,OU=Sales,DC=marrowby,DC=test is taken by a live object"},
        TakenName{"AccountName", "CN=Ann Other,OU=Sales,DC=marrowby,DC=test", "ann",
                  "the account name ann of Ann Smith is used by "
                  "CN=Ann Other,OU=Sales,DC=marrowby,DC=test"}),
    [](const testing::TestParamInfo<TakenName> &info) { return info.param.label; });
} // namespace
