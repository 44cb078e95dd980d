// Finding objects by name on a domain controller: live ones, and deleted ones under the names
// the tree shows them by, in place under their last known parent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/SearchPattern.h"
#include "server/ServerClient.h"
#include "server/directory/DomainSearch.h"
#include "tests/server/directory/DomainFixture.h"
#include "tests/server/directory/FoundObject.h"

using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;
using testing::UnorderedElementsAre;

namespace
{
// A name with a dot, a comma and filter characters, below OU=Sales.
constexpr const char *OddDn = "CN=J. R. Smith\\, (Jr*),OU=Sales,DC=marrowby,DC=test";
constexpr const char *OddName = "J\\. R\\. Smith, (Jr*).Sales.marrowby.test";

class DomainSearchTest : public DomainFixture
{
  protected:
    void SetUp() override
    {
        DomainFixture::SetUp();
        ASSERT_TRUE(dc.Modify(std::string("dn: ") + OddDn +
                              "\nchangetype: add\nobjectClass: user\nsAMAccountName: jr\n"));
    }

    std::vector<Found> Find(const std::string &pattern, bool deletedOnly = false)
    {
        ServerClient client(*server);
        std::vector<Found> found;
        const SearchOutcome outcome =
            client.Search(Top, pattern, deletedOnly, [&](FoundObject &&object) {
                found.push_back({object.fullName, object.container, object.present});
            });
        EXPECT_EQ(outcome.end, RequestEnd::Answered) << outcome.failure << "\n" << Log();
        return found;
    }
};

TEST_F(DomainSearchTest, FindsLiveObjectsAndDeletedOnesUnderTheNamesTheyHad)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.Delete(OddDn));
    // Bob goes with his container: his last known parent is a deleted object too.
    ASSERT_TRUE(dc.Delete(NorthDn, true));
    OpenAndLogIn();

    EXPECT_THAT(Find("ann"), ElementsAre(Gone(Ann)));
    EXPECT_THAT(Find("BOB"), ElementsAre(Gone(Bob)));
    EXPECT_THAT(Find("N?rth"), ElementsAre(Gone(North, true)));
    EXPECT_THAT(Find("j. r."), ElementsAre(Gone(OddName)));
    EXPECT_THAT(Find("tea*"), ElementsAre(Live("Team.Sales.marrowby.test")));
    EXPECT_THAT(Find("*", true),
                UnorderedElementsAre(Gone(Ann), Gone(Bob), Gone(North, true), Gone(OddName)));
    // The tree can go to each: every level lists it, and it has its history.
    EXPECT_THAT(List(North), ElementsAre(Listed{"Bob", false, false}));
    EXPECT_EQ(History(Bob).size(), 1u);
}

TEST_F(DomainSearchTest, LiveMatchesFollowThePatternAndNothingTypedIsFilterSyntax)
{
    OpenAndLogIn();
    EXPECT_THAT(Find("sales"), ElementsAre(Live(Sales, true)));
    EXPECT_THAT(Find("*smith"), ElementsAre(Live(Ann)));
    EXPECT_THAT(Find("*(jr*)"), ElementsAre(Live(OddName)));
    EXPECT_THAT(Find("b?b"), ElementsAre(Live(Bob)));
    EXPECT_THAT(Find("*", true), IsEmpty());
    for (const char *typed : {"*)(name=*", ")(|(objectClass=*)", "\\2a", "nobody here"}) {
        EXPECT_THAT(Find(typed), IsEmpty()) << typed;
    }
    // Nothing of the controller's own bookkeeping is found as a deleted object.
    EXPECT_THAT(Find("deleted"), Not(Contains(testing::Field(&Found::present, false))));
}

TEST_F(DomainSearchTest, ADeletedObjectSharingItsNameWithALiveOneShowsTheStartOfItsGuid)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: add\nobjectClass: user\nsAMAccountName: ann2\n"));
    OpenAndLogIn();

    const std::vector<Found> found = Find("ann smith");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], Live(Ann));
    EXPECT_THAT(found[1].fullName, testing::StartsWith("Ann Smith (deleted "));
    EXPECT_FALSE(found[1].present);
    // The name is the one the listing gives it.
    EXPECT_THAT(List(Sales),
                Contains(Listed{found[1].fullName.substr(0, found[1].fullName.find(".Sales")),
                                false, false}));
}

TEST(DomainSearchFilter, DeletedObjectsAreAskedForByTheLiteralRunsAnchoredNowhere)
{
    EXPECT_EQ(DomainSearch::DeletedFilter(SearchPattern("ann*")),
              "(&(isDeleted=TRUE)(|(msds-lastknownrdn=*ann*)(name=*ann*)))");
    EXPECT_EQ(DomainSearch::DeletedFilter(SearchPattern("a)(b")),
              "(&(isDeleted=TRUE)(|(msds-lastknownrdn=*a\\29\\28b*)(name=*a\\29\\28b*)))");
}
} // namespace
