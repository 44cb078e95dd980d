// Finding objects by name in a directory backup server: live entries from the directory,
// deleted ones from the snapshots, patterns with wildcards and without, names that need
// escaping, and nothing typed ever read as filter syntax.
#include <gmock/gmock.h>

#include <algorithm>

#include "server/SearchPattern.h"
#include "server/SearchRun.h"
#include "server/ServerClient.h"
#include "server/directory/DirectorySearch.h"
#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

struct Found {
    std::string fullName;
    bool container;
    bool present;
    bool operator==(const Found &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Found &found)
{
    return out << found.fullName << (found.container ? " (container" : " (leaf")
               << (found.present ? ", present)" : ", deleted)");
}

Found Live(std::string name, bool container = false)
{
    return {std::move(name), container, true};
}

Found Gone(std::string name, bool container = false)
{
    return {std::move(name), container, false};
}

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
        {"a\\b", "(|(cn=*a\\5cb*))"},
        {"x(y)", "(|(cn=*x\\28y\\29*))"},
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
