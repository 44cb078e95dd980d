// What changed in a directory between two snapshots, and since a snapshot: deletions (a subtree
// among them), an addition, a modification with its attributes named, a rename and a move, each
// reported once; a report of two snapshots asks nothing of the live directory; a report below a
// container; and a report that is stopped.
#include <gmock/gmock.h>

#include "server/ChangeRun.h"
#include "server/ServerClient.h"
#include "tests/server/directory/DirectoryFixture.h"
#include "tests/support/core/ChangeExpectations.h"

namespace
{
using testing::IsEmpty;
using testing::UnorderedElementsAre;
using testing::UnorderedElementsAreArray;

const std::string kMore = "dn: ou=Staff,o=Marrowby\nobjectClass: organizationalUnit\nou: Staff\n\n"
                          "dn: cn=Cid,ou=Staff,o=Marrowby\nobjectClass: person\ncn: Cid\nsn: C\n\n"
                          "dn: cn=Dee,ou=Staff,o=Marrowby\nobjectClass: person\ncn: Dee\nsn: D\n\n"
                          "dn: ou=East,o=Marrowby\nobjectClass: organizationalUnit\nou: East\n\n"
                          "dn: cn=Eve,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Eve\nsn: E\n\n"
                          "dn: cn=Fay,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Fay\nsn: F\n";

constexpr BackupTime kBefore = 1000;
constexpr BackupTime kAfter = 2000;

// Snapshot 1000 holds the seed; then Bob and Staff's subtree go, Gil comes, Ann's surname, mail
// and password change, Fay is renamed Faye and Eve moves to East; snapshot 2000 holds that, and
// so does the live directory.
class LdapChangesTest : public DirectoryFixture
{
  protected:
    LdapChangesTest() : DirectoryFixture(MarrowbySeed() + "\n" + kMore) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(kBefore, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
        ASSERT_TRUE(slapd.Delete("ou=Staff,o=Marrowby", true));
        ASSERT_TRUE(slapd.Modify("dn: cn=Gil,ou=Sales,o=Marrowby\nchangetype: add\n"
                                 "objectClass: person\ncn: Gil\nsn: G\n"));
        ASSERT_TRUE(slapd.Modify(
            "dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
            "replace: sn\nsn: Smythe\n-\nadd: description\ndescription: moved desks\n-\n"
            "add: userPassword\nuserPassword: not-to-be-seen\n"));
        ASSERT_TRUE(slapd.Modify("dn: cn=Fay,ou=Sales,o=Marrowby\nchangetype: modrdn\n"
                                 "newrdn: cn=Faye\ndeleteoldrdn: 1\n"));
        ASSERT_TRUE(slapd.Modify("dn: cn=Eve,ou=Sales,o=Marrowby\nchangetype: modrdn\n"
                                 "newrdn: cn=Eve\ndeleteoldrdn: 1\n"
                                 "newsuperior: ou=East,o=Marrowby\n"));
        slapd.WriteSnapshot(kAfter, slapd.Slapcat());
        OpenAndLogIn();
    }

    std::vector<ObjectChange> Report(const std::string &context, ChangePoints points,
                                     const ServerClient::StopCheck &stop = {})
    {
        ServerClient client(*server);
        const std::unique_ptr<ChangeRun> run = client.StartChanges(context, points);
        return ChangesOf(*run, end, failure, stop);
    }

    static std::vector<ObjectChange> Everything()
    {
        return {Deleted("Bob.Sales.Marrowby"),
                Deleted("Staff.Marrowby", true),
                Deleted("Cid.Staff.Marrowby"),
                Deleted("Dee.Staff.Marrowby"),
                Added("Gil.Sales.Marrowby"),
                Modified("Ann.Sales.Marrowby", {"description", "sn", "userPassword"}),
                Moved("Faye.Sales.Marrowby", "Fay.Sales.Marrowby", {"cn"}),
                Moved("Eve.East.Marrowby", "Eve.Sales.Marrowby", {})};
    }

    RequestEnd end = RequestEnd::Answered;
    std::string failure;
};

TEST_F(LdapChangesTest, ReportsEachChangeBetweenTwoSnapshotsOnceWithoutTheLiveDirectory)
{
    slapd.Stop();
    const std::vector<ObjectChange> changes =
        Report("Marrowby", ChangePoints{kBefore, kAfter, false});
    EXPECT_EQ(end, RequestEnd::Answered) << failure << "\n" << Log();
    EXPECT_THAT(changes, UnorderedElementsAreArray(Everything()));
}

TEST_F(LdapChangesTest, ReportsEachChangeSinceASnapshotOnceAgainstTheLiveDirectory)
{
    const std::vector<ObjectChange> changes = Report("Marrowby", ChangePoints{kBefore, 0, true});
    EXPECT_EQ(end, RequestEnd::Answered) << failure << "\n" << Log();
    EXPECT_THAT(changes, UnorderedElementsAreArray(Everything()));
}

TEST_F(LdapChangesTest, NothingChangedSinceTheLaterSnapshot)
{
    EXPECT_THAT(Report("Marrowby", ChangePoints{kAfter, 0, true}), IsEmpty());
    EXPECT_EQ(end, RequestEnd::Answered) << failure;
}

// Eve left Sales for East: below Sales she moved out, below East she moved in.
TEST_F(LdapChangesTest, AReportBelowAContainerKeepsMovesAcrossItsEdge)
{
    for (const bool toLive : {false, true}) {
        const ChangePoints points{kBefore, kAfter, toLive};
        EXPECT_THAT(Report("Sales.Marrowby", points),
                    UnorderedElementsAre(
                        Deleted("Bob.Sales.Marrowby"), Added("Gil.Sales.Marrowby"),
                        Modified("Ann.Sales.Marrowby", {"description", "sn", "userPassword"}),
                        Moved("Faye.Sales.Marrowby", "Fay.Sales.Marrowby", {"cn"}),
                        Moved("Eve.East.Marrowby", "Eve.Sales.Marrowby", {})))
            << (toLive ? "live" : "snapshots") << "\n"
            << Log();
        EXPECT_THAT(Report("East.Marrowby", points),
                    UnorderedElementsAre(Moved("Eve.East.Marrowby", "Eve.Sales.Marrowby", {})))
            << (toLive ? "live" : "snapshots");
    }
}

// A name given to another object since is not free for the moved one to come back under.
TEST_F(LdapChangesTest, AMovedObjectsOldNameTakenByAnotherIsNotFree)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Fay,ou=Sales,o=Marrowby\nchangetype: add\n"
                             "objectClass: person\ncn: Fay\nsn: New\n"));
    EXPECT_THAT(
        Report("Sales.Marrowby", ChangePoints{kBefore, 0, true}),
        testing::Contains(Moved("Faye.Sales.Marrowby", "Fay.Sales.Marrowby", {"cn"}, false)));
}

TEST_F(LdapChangesTest, AStoppedReportEndsStoppedWithWhatItFound)
{
    std::size_t asked = 0;
    const std::vector<ObjectChange> changes =
        Report("Marrowby", ChangePoints{kBefore, kAfter, false}, [&] { return ++asked == 1; });
    EXPECT_EQ(end, RequestEnd::Stopped);
    EXPECT_LE(changes.size(), 1u);
}

TEST_F(LdapChangesTest, PointsTheCatalogueDoesNotHoldAreRefusedWithTheReason)
{
    const struct {
        ChangePoints points;
        const char *says;
    } cases[] = {
        {{1500, 0, true}, "No snapshot of 1500"},
        {{kBefore, 1500, false}, "No snapshot of 1500"},
        {{kAfter, kBefore, false}, "later than the first"},
    };
    for (const auto &test : cases) {
        EXPECT_THAT(Report("Marrowby", test.points), IsEmpty());
        EXPECT_EQ(end, RequestEnd::Failed);
        EXPECT_THAT(failure, testing::HasSubstr(test.says));
    }
}

TEST_F(LdapChangesTest, TheBackupTimesAreTheSnapshots)
{
    ServerClient client(*server);
    EXPECT_TRUE(client.CanReportChanges());
    EXPECT_THAT(client.BackupTimes().times, testing::ElementsAre(kAfter, kBefore));
}
} // namespace
