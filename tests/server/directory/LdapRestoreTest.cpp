// Restoring from the directory backup server's snapshots: deleted leaves and subtrees, modified
// entries, missing parents, chosen versions and the server's refusals.
#include <gmock/gmock.h>

#include <algorithm>
#include <sstream>

#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

const std::string kEast = "dn: ou=East,ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\n"
                          "ou: East\n\n"
                          "dn: cn=Cid,ou=East,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Cid\n"
                          "sn: Brown\n\n"
                          "dn: ou=North,ou=East,ou=Sales,o=Marrowby\n"
                          "objectClass: organizationalUnit\nou: North\n\n"
                          "dn: cn=Eve,ou=North,ou=East,ou=Sales,o=Marrowby\nobjectClass: person\n"
                          "cn: Eve\nsn: Green\n\n"
                          "dn: cn=J. R. Smith,ou=Sales,o=Marrowby\nobjectClass: person\n"
                          "cn: J. R. Smith\nsn: Smith\n\n"
                          "dn: cn=Smith\\, John,ou=Sales,o=Marrowby\nobjectClass: person\n"
                          "cn: Smith, John\nsn: Smith\n\n"
                          "dn: cn=Zoë Ågren,ou=Sales,o=Marrowby\nobjectClass: person\n"
                          "cn: Zoë Ågren\nsn: Agren\n";

// The records of an LDIF text in the opposite order: children before their parents.
std::string Reversed(const std::string &ldif)
{
    std::vector<std::string> records;
    std::size_t at = 0;
    for (std::size_t end; (end = ldif.find("\n\n", at)) != std::string::npos; at = end + 2) {
        records.push_back(ldif.substr(at, end - at));
    }
    if (at < ldif.size()) {
        records.push_back(ldif.substr(at));
    }
    std::reverse(records.begin(), records.end());
    std::string text;
    for (const std::string &record : records) {
        text += record + "\n\n";
    }
    return text;
}

// Snapshot 1000 holds the seed and the East subtree.
class DirectoryRestoreTest : public DirectoryFixture
{
  protected:
    DirectoryRestoreTest() : DirectoryFixture(MarrowbySeed() + "\n" + kEast) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
    }

    // Opens the server and lists the containers on the way, as the tree does.
    void Browse()
    {
        OpenAndLogIn();
        List("Marrowby");
        List("Sales.Marrowby");
    }

    std::string Entry(const std::string &dn) { return slapd.Search(dn, "base", {"*", "+"}); }
};

TEST_F(DirectoryRestoreTest, DeletedLeafComesBackAsTheSnapshotHoldsIt)
{
    ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
    Browse();
    const Restored restored = Restore("Bob.Sales.Marrowby");
    EXPECT_EQ(restored.status, 0) << restored.message;
    EXPECT_EQ(restored.message, "");
    EXPECT_THAT(Entry("cn=Bob,ou=Sales,o=Marrowby"), HasSubstr("sn: Jones"));
    EXPECT_THAT(List("Sales.Marrowby"), testing::Contains(Listed{"Bob", false, true}));
}

TEST_F(DirectoryRestoreTest, DeletedSubtreeComesBackParentsFirstWhateverTheFileOrder)
{
    slapd.WriteSnapshot(1000, Reversed(slapd.Slapcat()));
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    Browse();
    const Restored restored = Restore("East.Sales.Marrowby", 0, true);
    EXPECT_EQ(restored.status, 0) << restored.message;
    for (const char *dn :
         {"ou=East,ou=Sales,o=Marrowby", "cn=Cid,ou=East,ou=Sales,o=Marrowby",
          "ou=North,ou=East,ou=Sales,o=Marrowby", "cn=Eve,ou=North,ou=East,ou=Sales,o=Marrowby"}) {
        EXPECT_TRUE(slapd.Exists(dn)) << dn;
    }
}

TEST_F(DirectoryRestoreTest, ContainerAloneComesBackWithoutItsChildren)
{
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    Browse();
    EXPECT_EQ(Restore("East.Sales.Marrowby", 0, false).status, 0);
    EXPECT_TRUE(slapd.Exists("ou=East,ou=Sales,o=Marrowby"));
    EXPECT_FALSE(slapd.Exists("cn=Cid,ou=East,ou=Sales,o=Marrowby"));
}

TEST_F(DirectoryRestoreTest, ModifiedEntryIsPutBackInPlace)
{
    const std::string before = Entry("cn=Ann,ou=Sales,o=Marrowby");
    ASSERT_TRUE(slapd.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "replace: sn\nsn: Changed\n-\nadd: description\ndescription: new\n-\n"
                             "add: cn\ncn: Annie\n"));
    Browse();
    const Restored restored = Restore("Ann.Sales.Marrowby");
    EXPECT_EQ(restored.status, 0) << restored.message;
    const std::string after = Entry("cn=Ann,ou=Sales,o=Marrowby");
    EXPECT_THAT(after, HasSubstr("sn: Smith"));
    EXPECT_THAT(after, Not(HasSubstr("description")));
    EXPECT_THAT(after, Not(HasSubstr("Annie")));
    // Modified, not deleted and added again: the entry keeps its identity.
    const auto uuid = [](const std::string &entry) {
        const std::size_t at = entry.find("entryUUID: ");
        return at == std::string::npos ? std::string() : entry.substr(at, 47);
    };
    EXPECT_FALSE(uuid(before).empty());
    EXPECT_EQ(uuid(after), uuid(before));
}

TEST_F(DirectoryRestoreTest, EntryWhoseParentsAreGoneBringsThemBackFirst)
{
    Browse();
    List("East.Sales.Marrowby");
    List("North.East.Sales.Marrowby");
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    const Restored restored = Restore("Eve.North.East.Sales.Marrowby");
    EXPECT_EQ(restored.status, 0) << restored.message;
    EXPECT_TRUE(slapd.Exists("cn=Eve,ou=North,ou=East,ou=Sales,o=Marrowby"));
    EXPECT_TRUE(slapd.Exists("ou=North,ou=East,ou=Sales,o=Marrowby"));
    EXPECT_FALSE(slapd.Exists("cn=Cid,ou=East,ou=Sales,o=Marrowby"));
}

TEST_F(DirectoryRestoreTest, ParentsAddedOnTheWayAreToldTopDownWithTheirTreeNames)
{
    Browse();
    List("East.Sales.Marrowby");
    List("North.East.Sales.Marrowby");
    ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
    ASSERT_EQ(Restore("Eve.North.East.Sales.Marrowby").status, 0);
    const RestoreReport *report = server->LastRestoreReport();
    ASSERT_NE(report, nullptr);
    EXPECT_THAT(report->parentsAdded,
                ElementsAre("East.Sales.Marrowby", "North.East.Sales.Marrowby"));
    EXPECT_THAT(report->added, ElementsAre("East.Sales.Marrowby", "North.East.Sales.Marrowby",
                                           "Eve.North.East.Sales.Marrowby"));
    EXPECT_EQ(report->addedCount, 1u);
    EXPECT_EQ(report->changedCount, 0u);
    EXPECT_FALSE(report->subtree);
}

TEST_F(DirectoryRestoreTest, SubtreeRestoreCountsWhatItAddedAndWhatItChanged)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Cid,ou=East,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "replace: sn\nsn: Changed\n"));
    ASSERT_TRUE(slapd.Delete("cn=Eve,ou=North,ou=East,ou=Sales,o=Marrowby"));
    Browse();
    List("East.Sales.Marrowby");
    List("North.East.Sales.Marrowby");
    ASSERT_EQ(Restore("East.Sales.Marrowby", 0, true).status, 0);
    const RestoreReport *report = server->LastRestoreReport();
    ASSERT_NE(report, nullptr);
    EXPECT_THAT(report->parentsAdded, testing::IsEmpty());
    EXPECT_THAT(report->added, ElementsAre("Eve.North.East.Sales.Marrowby"));
    EXPECT_EQ(report->addedCount, 1u);
    EXPECT_EQ(report->changedCount, 1u); // Cid; East and North were as the snapshot holds them
    EXPECT_TRUE(report->subtree);
    EXPECT_TRUE(report->changesCounted);
    // Nothing left to do: the same restore again writes nothing, and the counts say so whole.
    ASSERT_EQ(Restore("East.Sales.Marrowby", 0, true).status, 0);
    EXPECT_EQ(server->LastRestoreReport()->addedCount, 0u);
    EXPECT_EQ(server->LastRestoreReport()->changedCount, 0u);
    EXPECT_TRUE(server->LastRestoreReport()->changesCounted);
}

TEST_F(DirectoryRestoreTest, FailureHalfWayThroughASubtreeSaysWhatWasWrittenBeforeIt)
{
    // The second entry lacks the surname a person must have: the server refuses it.
    slapd.WriteSnapshot(2000, "dn: ou=West,ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\n"
                              "ou: West\n\n"
                              "dn: cn=Bad,ou=West,ou=Sales,o=Marrowby\nobjectClass: person\n"
                              "cn: Bad\n\n");
    Browse();
    const Restored restored = Restore("West.Sales.Marrowby", 0, true);
    EXPECT_EQ(restored.status, 65); // objectClassViolation
    EXPECT_THAT(restored.message, HasSubstr("Object class violation"));
    EXPECT_THAT(restored.message, HasSubstr("(before that, 1 entry was added and 0 changed)"));
    EXPECT_TRUE(slapd.Exists("ou=West,ou=Sales,o=Marrowby"));
    EXPECT_EQ(server->LastRestoreReport()->added, std::vector<std::string>{"West.Sales.Marrowby"});
}

TEST_F(DirectoryRestoreTest, ParentThatNoSnapshotHoldsIsNamedInTheFailure)
{
    ASSERT_TRUE(slapd.Modify("dn: ou=Temp,o=Marrowby\nchangetype: add\n"
                             "objectClass: organizationalUnit\nou: Temp\n"));
    slapd.WriteSnapshot(2000, "dn: cn=Tom,ou=Temp,o=Marrowby\nobjectClass: person\ncn: Tom\n"
                              "sn: Thumb\n\n");
    OpenAndLogIn();
    List("Marrowby");
    List("Temp.Marrowby");
    ASSERT_TRUE(slapd.Delete("ou=Temp,o=Marrowby"));
    const Restored restored = Restore("Tom.Temp.Marrowby");
    EXPECT_NE(restored.status, 0);
    // The parent named as the tree names it.
    EXPECT_EQ(restored.message, "Temp.Marrowby: missing, and no snapshot holds it");
    EXPECT_FALSE(slapd.Exists("cn=Tom,ou=Temp,o=Marrowby"));
}

TEST_F(DirectoryRestoreTest, ChosenVersionIsTheOneRestored)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "replace: sn\nsn: Newer\n"));
    slapd.WriteSnapshot(2000, slapd.Slapcat());
    ASSERT_TRUE(slapd.Delete("cn=Ann,ou=Sales,o=Marrowby"));
    Browse();
    EXPECT_EQ(Restore("Ann.Sales.Marrowby", 1000).status, 0);
    EXPECT_THAT(Entry("cn=Ann,ou=Sales,o=Marrowby"), HasSubstr("sn: Smith"));
    EXPECT_EQ(Restore("Ann.Sales.Marrowby", 0).status, 0);
    EXPECT_THAT(Entry("cn=Ann,ou=Sales,o=Marrowby"), HasSubstr("sn: Newer"));
    const Restored missing = Restore("Ann.Sales.Marrowby", 1500);
    EXPECT_NE(missing.status, 0);
    EXPECT_THAT(missing.message, HasSubstr("1970-01-01 00:25:00 UTC"));
}

// The reply gives the server's reason; the entry it was about is named as the tree names it,
// and only when it is not the object restored (whose name the result line gives already). No
// distinguished name stands among the tree's dotted names; the log keeps it.
TEST_F(DirectoryRestoreTest, ServerRefusalGivesItsReasonInTheReplyNamingTheEntryAsTheTreeDoes)
{
    // A person without its required surname: the server refuses to add it.
    slapd.WriteSnapshot(2000, "dn: ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\n"
                              "ou: Sales\n\n"
                              "dn: cn=Bad,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Bad\n\n");
    Browse();
    const Restored restored = Restore("Bad.Sales.Marrowby");
    EXPECT_EQ(restored.status, 65); // objectClassViolation
    EXPECT_THAT(restored.message, testing::StartsWith("Object class violation"));
    EXPECT_THAT(restored.message, HasSubstr("sn"));
    EXPECT_THAT(restored.message, Not(HasSubstr("cn=")));
    EXPECT_THAT(Log(), HasSubstr("cn=Bad,ou=Sales,o=Marrowby: Object class violation"));

    const Restored subtree = Restore("Sales.Marrowby", 0, true);
    EXPECT_EQ(subtree.status, 65);
    EXPECT_THAT(subtree.message, testing::StartsWith("Bad.Sales.Marrowby: Object class violation"));
    EXPECT_THAT(subtree.message, Not(HasSubstr("o=Marrowby")));
}

TEST_F(DirectoryRestoreTest, SubtreeRestoreNeverDeletesLiveEntries)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=New,ou=East,ou=Sales,o=Marrowby\nchangetype: add\n"
                             "objectClass: person\ncn: New\nsn: Comer\n"));
    ASSERT_TRUE(slapd.Delete("cn=Cid,ou=East,ou=Sales,o=Marrowby"));
    Browse();
    EXPECT_EQ(Restore("East.Sales.Marrowby", 0, true).status, 0);
    EXPECT_TRUE(slapd.Exists("cn=New,ou=East,ou=Sales,o=Marrowby"));
    EXPECT_TRUE(slapd.Exists("cn=Cid,ou=East,ou=Sales,o=Marrowby"));
}

TEST_F(DirectoryRestoreTest, NamesWithDotsCommasAndOtherScriptsAreRestored)
{
    const std::vector<std::pair<std::string, std::string>> objects = {
        {"J\\. R\\. Smith", "cn=J. R. Smith,ou=Sales,o=Marrowby"},
        {"Smith, John", "cn=Smith\\, John,ou=Sales,o=Marrowby"},
        {"Zoë Ågren", "cn=Zoë Ågren,ou=Sales,o=Marrowby"},
    };
    for (const auto &[name, dn] : objects) {
        ASSERT_TRUE(slapd.Delete(dn)) << dn;
    }
    Browse();
    for (const auto &[name, dn] : objects) {
        const Restored restored = Restore(name + ".Sales.Marrowby");
        EXPECT_EQ(restored.status, 0) << name << ": " << restored.message;
        EXPECT_TRUE(slapd.Exists(dn)) << dn;
    }
}

TEST_F(DirectoryRestoreTest, UnknownObjectIsAFailureNotASuccess)
{
    Browse();
    const Restored restored = Restore("Ghost.Sales.Marrowby");
    EXPECT_NE(restored.status, 0);
    EXPECT_THAT(restored.message, HasSubstr("Ghost.Sales.Marrowby"));
}
} // namespace

namespace
{
// A dump cut inside a value (an interrupted run, a full disk) is the newest file of the
// catalogue: it is in no history, the complete one before it is restored from, and the user is
// told which file was left out and why.
TEST_F(DirectoryRestoreTest, CutSnapshotIsNeverRestoredFrom)
{
    const std::string ann = "dn: cn=Ann,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Ann\n"
                            "sn: Smith\ndescription: the whole description of Ann\n"
                            "telephoneNumber: 7\n\n";
    slapd.WriteSnapshot(1500, ann);
    const std::string cut = slapd.WriteSnapshot(3000, ann.substr(0, ann.find("of Ann")));
    ASSERT_TRUE(slapd.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "add: description\ndescription: changed\n"));
    Browse();
    EXPECT_THAT(History("Ann.Sales.Marrowby"), testing::ElementsAre(1000u, 1500u));
    const Restored restored = Restore("Ann.Sales.Marrowby");
    EXPECT_EQ(restored.status, 0) << restored.message;
    const std::string entry = Entry("cn=Ann,ou=Sales,o=Marrowby");
    EXPECT_THAT(entry, HasSubstr("description: the whole description of Ann"));
    EXPECT_THAT(entry, HasSubstr("telephoneNumber: 7"));

    const std::vector<std::string> notices = server->TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Snapshot " + cut +
                              " left out: its last entry (cn=Ann,ou=Sales,o=Marrowby) is not "
                              "followed by an empty line: the file may have been cut short");
    EXPECT_TRUE(server->TakeNotices().empty()); // told once
    EXPECT_THAT(Log(), HasSubstr(cut + " left out"));
}
} // namespace
