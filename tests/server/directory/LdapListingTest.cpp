// The directory backup server's tree: live and deleted children, containers, histories from the
// snapshots' times, names that need escaping, and snapshots that are not valid LDIF.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <utime.h>

#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

const std::string kPeople = "dn: cn=J. R. Smith,ou=Sales,o=Marrowby\nobjectClass: person\n"
                            "cn: J. R. Smith\nsn: Smith\n\n"
                            "dn: cn=Smith\\, John,ou=Sales,o=Marrowby\nobjectClass: person\n"
                            "cn: Smith, John\nsn: Smith\n\n"
                            "dn:: Y249Wm/DqyDDhWdyZW4sb3U9U2FsZXMsbz1NYXJyb3dieQ==\n"
                            "objectClass: person\ncn:: Wm/DqyDDhWdyZW4=\nsn: Agren\n\n"
                            "dn: ou=Empty,o=Marrowby\nobjectClass: organizationalUnit\nou: Empty\n";

// Snapshot 1000 holds the seed; then Bob goes and Cid comes; snapshot 2000 holds that state.
class DirectoryListingTest : public DirectoryFixture
{
  protected:
    DirectoryListingTest() : DirectoryFixture(MarrowbySeed() + "\n" + kPeople) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
        ASSERT_TRUE(slapd.Modify("dn: cn=Cid,ou=Sales,o=Marrowby\nchangetype: add\n"
                                 "objectClass: person\ncn: Cid\nsn: Brown\n"));
        slapd.WriteSnapshot(2000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=J. R. Smith,ou=Sales,o=Marrowby"));
    }
};

TEST_F(DirectoryListingTest, ListsLiveAndSnapshotChildrenSortedWithDeletedOnesMarked)
{
    OpenAndLogIn();
    EXPECT_THAT(List("Marrowby"),
                ElementsAre(Listed{"Empty", true, true}, Listed{"Sales", true, true},
                            Listed{"admin", false, true}));
    EXPECT_THAT(List("Sales.Marrowby"),
                ElementsAre(Listed{"Ann", false, true}, Listed{"Bob", false, false},
                            Listed{"Cid", false, true}, Listed{"J\\. R\\. Smith", false, false},
                            Listed{"Smith, John", false, true}, Listed{"Zoë Ågren", false, true}));
}

TEST_F(DirectoryListingTest, DeletedContainerListsItsChildrenFromTheSnapshots)
{
    ASSERT_TRUE(slapd.Delete("ou=Sales,o=Marrowby", true));
    OpenAndLogIn();
    EXPECT_THAT(List("Marrowby"), testing::Contains(Listed{"Sales", true, false}));
    const std::vector<Listed> children = List("Sales.Marrowby");
    ASSERT_EQ(children.size(), 6u);
    for (const Listed &child : children) {
        EXPECT_FALSE(child.present) << child;
    }
}

TEST_F(DirectoryListingTest, AbandonedListingDoesNotDisturbTheNextOne)
{
    OpenAndLogIn();
    ChildRequest request{};
    CopyToField(request.containerName, "Sales.Marrowby");
    {
        ServerReply first(*server, ListChildren, sizeof request, &request);
        ASSERT_EQ(first.As<ObjectRecord>()->id, 1);
    }
    EXPECT_EQ(List("Marrowby").size(), 3u);
    EXPECT_EQ(List("Sales.Marrowby").size(), 6u);
}

TEST_F(DirectoryListingTest, HistoryHoldsTheTimeOfEverySnapshotWithTheObject)
{
    OpenAndLogIn();
    List("Marrowby");
    List("Sales.Marrowby");
    EXPECT_THAT(History("Ann.Sales.Marrowby"), ElementsAre(1000u, 2000u));
    EXPECT_THAT(History("Bob.Sales.Marrowby"), ElementsAre(1000u));
    EXPECT_THAT(History("Cid.Sales.Marrowby"), ElementsAre(2000u));
    EXPECT_THAT(History("J\\. R\\. Smith.Sales.Marrowby"), ElementsAre(1000u, 2000u));
    EXPECT_THAT(History("Zoë Ågren.Sales.Marrowby"), ElementsAre(1000u, 2000u));
    EXPECT_THAT(History("Nobody.Sales.Marrowby"), IsEmpty());
    EXPECT_THAT(History("Elsewhere"), IsEmpty());
}

TEST_F(DirectoryListingTest, NamesAreFoundWithoutListingTheirContainersFirst)
{
    // A top context typed by the user: the server finds its way down from the base.
    OpenAndLogIn();
    EXPECT_THAT(History("Smith, John.Sales.Marrowby"), ElementsAre(1000u, 2000u));
    EXPECT_THAT(List("Sales.Marrowby"), testing::Contains(Listed{"Bob", false, false}));
}

TEST_F(DirectoryListingTest, SnapshotWithoutATimeInItsNameTakesItsModificationTime)
{
    const std::string path = slapd.WriteFile("catalogue/weekly.ldif", slapd.Slapcat());
    const utimbuf times{1500, 1500};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
    OpenAndLogIn();
    EXPECT_THAT(History("Cid.Sales.Marrowby"), ElementsAre(1500u, 2000u));
}

TEST_F(DirectoryListingTest, InvalidSnapshotIsReportedOnceAndTheOthersAreUsed)
{
    slapd.WriteSnapshot(3000, "dn: cn=Eve,ou=Sales,o=Marrowby\ncn: Eve\nnot a line\n");
    slapd.WriteFile("catalogue/notes.txt", "not a snapshot and not reported");
    OpenAndLogIn();
    List("Sales.Marrowby");
    List("Sales.Marrowby");
    EXPECT_THAT(History("Ann.Sales.Marrowby"), ElementsAre(1000u, 2000u));
    ASSERT_EQ(log.size(), 1u) << Log();
    EXPECT_THAT(log[0], HasSubstr("3000.ldif"));
    EXPECT_THAT(log[0], HasSubstr("line 1"));
}

// With the server gone, a listing still ends with an end record, as the interface wants; the
// failure beside it tells it from an empty container. Once the server is back, it lists again.
TEST_F(DirectoryListingTest, FailedListingIsAFailureNotAnEmptyContainer)
{
    OpenAndLogIn();
    List("Marrowby");
    EXPECT_EQ(server->LastFailure(), "");
    slapd.Stop();
    EXPECT_THAT(List("Sales.Marrowby"), IsEmpty());
    EXPECT_THAT(server->LastFailure(), HasSubstr("Can't contact LDAP server"));
    // An empty container is no failure.
    ASSERT_TRUE(slapd.Restart());
    EXPECT_THAT(List("Empty.Marrowby"), IsEmpty());
    EXPECT_EQ(server->LastFailure(), "");
    EXPECT_THAT(List("Sales.Marrowby"), testing::Contains(Listed{"Ann", false, true}));
    EXPECT_EQ(server->LastFailure(), "");
    // A name the server knows nothing of cannot be listed either.
    EXPECT_THAT(List("Nowhere.Marrowby"), IsEmpty());
    EXPECT_THAT(server->LastFailure(), HasSubstr("Nowhere.Marrowby"));
}

TEST_F(DirectoryListingTest, SiblingsWithOneNameAreToldApartByTheirTypes)
{
    ASSERT_TRUE(slapd.Modify("dn: ou=Ann,ou=Sales,o=Marrowby\nchangetype: add\n"
                             "objectClass: organizationalUnit\nou: Ann\n"));
    OpenAndLogIn();
    const std::vector<Listed> children = List("Sales.Marrowby");
    EXPECT_THAT(children, testing::Contains(Listed{"cn=Ann", false, true}));
    EXPECT_THAT(children, testing::Contains(Listed{"ou=Ann", true, true}));
    EXPECT_THAT(History("cn=Ann.Sales.Marrowby"), ElementsAre(1000u, 2000u));
    EXPECT_THAT(History("ou=Ann.Sales.Marrowby"), IsEmpty());
}
} // namespace
