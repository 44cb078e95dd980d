// Finding objects by name in a directory backup server: live entries from the directory,
// deleted ones from the snapshots, patterns with wildcards and without, names that need
// escaping, and nothing typed ever read as filter syntax.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "server/SearchPattern.h"
#include "server/SearchRun.h"
#include "server/ServerClient.h"
#include "server/directory/DirectorySearch.h"
#include "catalogue/DistinguishedName.h"
#include "tests/server/directory/DirectoryFixture.h"
#include "tests/server/directory/FoundObject.h"

namespace
{
using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

const std::string kPeople =
    "dn: cn=J. R. Smith,ou=Sales,o=Marrowby\nobjectClass: person\ncn: J. R. Smith\nsn: Smith\n\n"
    "dn: cn=Smith\\, John,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Smith, John\n"
    "sn: Smith\n\n"
    "dn:: Y249Wm/DqyDDhWdyZW4sb3U9U2FsZXMsbz1NYXJyb3dieQ==\n"
    "objectClass: person\ncn:: Wm/DqyDDhWdyZW4=\nsn: Agren\n\n"
    "dn: cn=O\\\"Hara\\\\Star*(x),ou=Sales,o=Marrowby\nobjectClass: person\n"
    "cn: O\"Hara\\Star*(x)\nsn: Odd\n\n"
    "dn: ou=Deep,o=Marrowby\nobjectClass: organizationalUnit\nou: Deep\n\n"
    "dn: ou=L2,ou=Deep,o=Marrowby\nobjectClass: organizationalUnit\nou: L2\n\n"
    "dn: ou=L3,ou=L2,ou=Deep,o=Marrowby\nobjectClass: organizationalUnit\nou: L3\n\n"
    "dn: uid=target,ou=L3,ou=L2,ou=Deep,o=Marrowby\nobjectClass: account\nuid: target\n";

// Snapshot 1000 holds everything; then Bob, J. R. Smith and uid=target go, and Cid comes.
class LdapSearchTest : public DirectoryFixture
{
  protected:
    LdapSearchTest() : DirectoryFixture(MarrowbySeed() + "\n" + kPeople) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
        ASSERT_TRUE(slapd.Delete("cn=J. R. Smith,ou=Sales,o=Marrowby"));
        ASSERT_TRUE(slapd.Delete("uid=target,ou=L3,ou=L2,ou=Deep,o=Marrowby"));
        ASSERT_TRUE(slapd.Modify("dn: cn=Cid,ou=Sales,o=Marrowby\nchangetype: add\n"
                                 "objectClass: person\ncn: Cid\nsn: Brown\n"));
        OpenAndLogIn();
    }

    std::vector<Found> Find(const std::string &pattern, bool deletedOnly = false,
                            const std::string &context = "Marrowby")
    {
        ServerClient client(*server);
        std::vector<Found> found;
        outcome = client.Search(context, pattern, deletedOnly, [&](FoundObject &&object) {
            found.push_back({object.fullName, object.container, object.present});
        });
        EXPECT_EQ(outcome.end, RequestEnd::Answered) << outcome.failure << "\n" << Log();
        return found;
    }

    SearchOutcome outcome;
};

TEST_F(LdapSearchTest, FindsLiveObjectsAndDeletedOnesOnlySnapshotsHold)
{
    EXPECT_THAT(Find("smith"), UnorderedElementsAre(Live("Smith, John.Sales.Marrowby"),
                                                    Gone("J\\. R\\. Smith.Sales.Marrowby")));
    EXPECT_THAT(Find("b"), UnorderedElementsAre(Gone("Bob.Sales.Marrowby")));
    EXPECT_THAT(Find("cid"), ElementsAre(Live("Cid.Sales.Marrowby")));
    EXPECT_THAT(Find("L?"), UnorderedElementsAre(Live("L2.Deep.Marrowby", true),
                                                 Live("L3.L2.Deep.Marrowby", true)));
}

TEST_F(LdapSearchTest, DeletedOnlyLeavesOutWhatIsLive)
{
    EXPECT_THAT(Find("*", true), UnorderedElementsAre(Gone("Bob.Sales.Marrowby"),
                                                      Gone("J\\. R\\. Smith.Sales.Marrowby"),
                                                      Gone("target.L3.L2.Deep.Marrowby")));
}

TEST_F(LdapSearchTest, PatternsFollowWildcardsAndIgnoreCase)
{
    const struct {
        const char *pattern;
        std::vector<std::string> names;
    } cases[] = {
        {"ANN", {"Ann.Sales.Marrowby"}},
        {"s*n", {"Smith, John.Sales.Marrowby"}},
        {"?id", {"Cid.Sales.Marrowby"}},
        {"zoë", {"Zoë Ågren.Sales.Marrowby"}},
        {"ZOË ÅGREN", {"Zoë Ågren.Sales.Marrowby"}},
        {"j.", {"J\\. R\\. Smith.Sales.Marrowby"}},
        {", j", {"Smith, John.Sales.Marrowby"}},
        {"nobody here", {}},
    };
    for (const auto &test : cases) {
        std::vector<std::string> names;
        for (const Found &found : Find(test.pattern)) {
            names.push_back(found.fullName);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, test.names) << test.pattern;
    }
}

TEST_F(LdapSearchTest, FilterCharactersInAPatternAreOnlyText)
{
    EXPECT_THAT(Find("*\"hara\\star*(x)"), ElementsAre(Live("O\"Hara\\\\Star*(x).Sales.Marrowby")));
    EXPECT_THAT(Find("*(x)"), ElementsAre(Live("O\"Hara\\\\Star*(x).Sales.Marrowby")));
    // Attempts to widen or break the server's filter find nothing and fail nothing.
    for (const char *typed : {")(|(objectClass=*)", "*)(cn=*", "\\2a", "(cn=*)", "\\*\\"}) {
        EXPECT_THAT(Find(typed), IsEmpty()) << typed;
    }
}

TEST_F(LdapSearchTest, AMatchFourLevelsDownHasTheFullNameTheTreeOpensItBy)
{
    EXPECT_THAT(Find("TARGET"), ElementsAre(Gone("target.L3.L2.Deep.Marrowby")));
    // The tree can go there: every level lists, and the object has its history.
    EXPECT_THAT(List("L3.L2.Deep.Marrowby"), ElementsAre(Listed{"target", false, false}));
    EXPECT_THAT(History("target.L3.L2.Deep.Marrowby"), ElementsAre(1000u));
}

TEST_F(LdapSearchTest, OnlyTheSubtreeOfTheContextIsSearched)
{
    EXPECT_THAT(Find("*", false, "Deep.Marrowby"),
                UnorderedElementsAre(Live("L2.Deep.Marrowby", true),
                                     Live("L3.L2.Deep.Marrowby", true),
                                     Gone("target.L3.L2.Deep.Marrowby")));
    ServerClient client(*server);
    const SearchOutcome unknown =
        client.Search("Nowhere.Marrowby", "*", false, [](FoundObject &&) {});
    EXPECT_EQ(unknown.end, RequestEnd::Failed);
    EXPECT_THAT(unknown.failure, testing::HasSubstr("Nowhere.Marrowby"));
}

TEST_F(LdapSearchTest, ASearchStoppedHalfwayGoesOnAfreshNextTime)
{
    ServerClient client(*server);
    std::size_t seen = 0;
    const SearchOutcome stopped = client.Search(
        "Marrowby", "*", false, [&](FoundObject &&) { ++seen; }, [&] { return seen == 3; });
    EXPECT_EQ(stopped.end, RequestEnd::Stopped);
    EXPECT_EQ(stopped.found, 3u);
    const std::vector<Found> all = Find("*");
    EXPECT_EQ(all.size(), 13u); // admin, Sales and 7 below it, Deep, L2, L3, target
    EXPECT_TRUE(client.CanSearch());
}

// ou=Twins holds siblings that share their typeless labels: Kim twice (cn and uid), Lab twice
// (an ou with a child, and a cn), and Zed (cn=Zed in the snapshot only, uid=Zed live).
const std::string kTwins =
    "dn: ou=Twins,o=Marrowby\nobjectClass: organizationalUnit\nou: Twins\n\n"
    "dn: cn=Kim,ou=Twins,o=Marrowby\nobjectClass: person\ncn: Kim\nsn: K\n\n"
    "dn: uid=Kim,ou=Twins,o=Marrowby\nobjectClass: account\nuid: Kim\n\n"
    "dn: ou=Lab,ou=Twins,o=Marrowby\nobjectClass: organizationalUnit\nou: Lab\n\n"
    "dn: cn=Lab,ou=Twins,o=Marrowby\nobjectClass: person\ncn: Lab\nsn: L\n\n"
    "dn: uid=probe,ou=Lab,ou=Twins,o=Marrowby\nobjectClass: account\nuid: probe\n\n"
    "dn: cn=Zed,ou=Twins,o=Marrowby\nobjectClass: person\ncn: Zed\nsn: Z\n";

class LdapSearchNamesakesTest : public DirectoryFixture
{
  protected:
    LdapSearchNamesakesTest() : DirectoryFixture(MarrowbySeed() + "\n" + kTwins) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=Zed,ou=Twins,o=Marrowby"));
        ASSERT_TRUE(slapd.Modify("dn: uid=Zed,ou=Twins,o=Marrowby\nchangetype: add\n"
                                 "objectClass: account\nuid: Zed\n"));
        OpenAndLogIn(); // and nothing listed yet
    }

    std::vector<std::string> FindNames(const std::string &pattern, bool deletedOnly = false)
    {
        ServerClient client(*server);
        std::vector<std::string> names;
        const SearchOutcome outcome =
            client.Search("Marrowby", pattern, deletedOnly,
                          [&](FoundObject &&object) { names.push_back(object.fullName); });
        EXPECT_EQ(outcome.end, RequestEnd::Answered) << outcome.failure;
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(LdapSearchNamesakesTest, LevelsNoListingNamedYetGetTheLabelsTheListingsWillGive)
{
    EXPECT_THAT(FindNames("kim"), ElementsAre("cn=Kim.Twins.Marrowby", "uid=Kim.Twins.Marrowby"));
    EXPECT_THAT(FindNames("zed", true), ElementsAre("cn=Zed.Twins.Marrowby"));
    EXPECT_THAT(FindNames("zed"), ElementsAre("cn=Zed.Twins.Marrowby", "uid=Zed.Twins.Marrowby"));
    // A container on the way down whose label a sibling shares.
    EXPECT_THAT(FindNames("probe"), ElementsAre("probe.ou=Lab.Twins.Marrowby"));
    // Going there: each level lists under those names, and the objects have their histories.
    std::vector<std::string> labels;
    for (const Listed &child : List("Twins.Marrowby")) {
        labels.push_back(child.name);
    }
    EXPECT_THAT(labels,
                UnorderedElementsAre("cn=Kim", "uid=Kim", "ou=Lab", "cn=Lab", "cn=Zed", "uid=Zed"));
    EXPECT_THAT(List("ou=Lab.Twins.Marrowby"), ElementsAre(Listed{"probe", false, true}));
    EXPECT_THAT(History("cn=Zed.Twins.Marrowby"), ElementsAre(1000u));
    EXPECT_THAT(History("probe.ou=Lab.Twins.Marrowby"), ElementsAre(1000u));
}

// ou=Crowd: 250 members in the snapshot, of which the last 50 are deleted since.
constexpr int kCrowd = 250;
constexpr int kCrowdDeleted = 50;

std::string Member(int n)
{
    char name[16];
    std::snprintf(name, sizeof name, "Member%03d", n);
    return name;
}

std::string Crowd()
{
    std::string ldif = "dn: ou=Crowd,o=Marrowby\nobjectClass: organizationalUnit\nou: Crowd\n\n";
    for (int n = 0; n < kCrowd; ++n) {
        ldif += "dn: cn=" + Member(n) +
                ",ou=Crowd,o=Marrowby\nobjectClass: person\ncn: " + Member(n) + "\nsn: Crowd\n\n";
    }
    return ldif;
}

class LdapSearchInPartsTest : public DirectoryFixture
{
  protected:
    LdapSearchInPartsTest() : DirectoryFixture(MarrowbySeed() + "\n" + Crowd()) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        for (int n = kCrowd - kCrowdDeleted; n < kCrowd; ++n) {
            ASSERT_TRUE(slapd.Delete("cn=" + Member(n) + ",ou=Crowd,o=Marrowby"));
        }
        OpenAndLogIn();
    }

    // Every match once, and which of them are present.
    static void ExpectTheWholeCrowd(const std::vector<FoundObject> &found)
    {
        std::set<std::string> names;
        std::size_t present = 0;
        for (const FoundObject &object : found) {
            EXPECT_TRUE(names.insert(object.fullName).second) << object.fullName << " twice";
            present += object.present ? 1 : 0;
        }
        EXPECT_EQ(names.size(), static_cast<std::size_t>(kCrowd));
        EXPECT_EQ(present, static_cast<std::size_t>(kCrowd - kCrowdDeleted));
        EXPECT_EQ(names.count("Member249.Crowd.Marrowby"), 1u);
    }
};

TEST_F(LdapSearchInPartsTest, TheFirstPartIsOnePageOfTheLiveSearchAndTheRestFollows)
{
    LdapConnection connection(slapd.SocketUri(), 5);
    ASSERT_TRUE(connection.Connect().Ok());
    ASSERT_TRUE(connection.BindExternal().Ok());
    SnapshotCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load(slapd.Catalogue(), SnapshotCatalogue::DefaultContainerClasses(),
                               [](const std::string &) {}));
    const auto classes = SnapshotCatalogue::DefaultContainerClasses();
    DirectorySearch search(catalogue, classes, "ou=Crowd,o=Marrowby",
                           DistinguishedName::Parse("ou=Crowd,o=Marrowby")->Canonical(),
                           SearchPattern("member"), false);
    std::vector<SearchHit> hits;
    ASSERT_TRUE(search.Next(connection, hits).Ok());
    EXPECT_EQ(hits.size(), static_cast<std::size_t>(DirectorySearch::kFirstPage));
    EXPECT_FALSE(search.Done());
    EXPECT_TRUE(
        std::all_of(hits.begin(), hits.end(), [](const SearchHit &hit) { return hit.present; }));
    // The server keeps one paged search per connection: a listing between two pages ends it.
    int cutBy = 0;
    std::size_t listed = 0;
    ASSERT_TRUE(connection
                    .List(
                        "ou=Crowd,o=Marrowby", {"1.1"}, [&](LdapEntry &&) { ++listed; }, cutBy)
                    .Ok());
    EXPECT_EQ(listed, static_cast<std::size_t>(kCrowd - kCrowdDeleted));
    ASSERT_TRUE(search.Run(connection, hits).Ok());
    EXPECT_TRUE(search.Done());
    std::vector<FoundObject> found;
    for (const SearchHit &hit : hits) {
        found.push_back(FoundObject{DirectorySearch::OwnName(hit.dn) + ".Crowd.Marrowby",
                                    hit.container, hit.present});
    }
    ExpectTheWholeCrowd(found);
}

TEST_F(LdapSearchInPartsTest, ContainersOpenedWhileTheMatchesComeDoNotLoseOrRepeatAny)
{
    ServerClient client(*server);
    std::unique_ptr<SearchRun> run = client.StartSearch("Marrowby", "MEMBER*", false);
    std::vector<FoundObject> found;
    const auto keep = [&](FoundObject &&object) { found.push_back(std::move(object)); };
    EXPECT_TRUE(run->Next(50, keep)); // half of the first page
    EXPECT_THAT(List("Crowd.Marrowby"), testing::SizeIs(kCrowd));
    EXPECT_THAT(List("Sales.Marrowby"), testing::Not(IsEmpty()));
    while (run->Next(60, keep)) {
        EXPECT_THAT(History("Member000.Crowd.Marrowby"), ElementsAre(1000u));
    }
    EXPECT_EQ(run->End(), RequestEnd::Answered) << run->Failure() << "\n" << Log();
    ExpectTheWholeCrowd(found);
}

TEST(DirectorySearchFilter, OnlyTheLiteralRunsGoIntoTheFilterEscaped)
{
    const std::unordered_set<std::string> cn = {"cn"};
    const struct {
        const char *pattern;
        const char *filter;
    } cases[] = {
        {"ann", "(|(cn=*ann*))"},
        {"ann*", "(|(cn=ann*))"},
        {"a?n", "(|(cn=a*n))"},
        {"*", "(|(cn=*))"},
        {"?", "(|(cn=*))"},
        {")(|(objectClass=*)", "(|(cn=\\29\\28|\\28objectClass=*\\29))"},
        {"a\\b", "(|(cn=*a\\5Cb*))"},
        {"x(y)", "(|(cn=*x\\28y\\29*))"},
        // The library's escaping: bytes beyond ASCII and controls are written in hex too.
        {"Zoë\t", "(|(cn=*Zo\\C3\\AB\\09*))"},
    };
    for (const auto &test : cases) {
        EXPECT_EQ(DirectorySearch::Filter(SearchPattern(test.pattern), cn), test.filter)
            << test.pattern;
    }
    // A naming type that is not a plain attribute type never reaches the filter.
    EXPECT_EQ(DirectorySearch::Filter(SearchPattern("a"), {"cn", "x)(y", "uid"}),
              "(|(cn=*a*)(uid=*a*))");
}
} // namespace
