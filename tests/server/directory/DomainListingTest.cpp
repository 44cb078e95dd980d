// The tree of a domain: live objects, and deleted ones in place under their last known parent,
// with the history of each.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/directory/DomainListing.h"
#include "tests/server/directory/DomainFixture.h"

using testing::ElementsAre;
using testing::StartsWith;

namespace
{
class DomainListingTest : public DomainFixture
{
};

TEST_F(DomainListingTest, DeletedObjectsShowUnderTheirLastKnownParentWithTheirOwnNames)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.Delete(NorthDn, true));
    OpenAndLogIn();

    EXPECT_THAT(List(Sales),
                ElementsAre(Listed{"Ann Smith", false, false}, Listed{"North", true, false},
                            Listed{"Team", false, true}));
    // Bob was deleted before his container; the link to it followed it into the deleted objects.
    EXPECT_THAT(List(North), ElementsAre(Listed{"Bob", false, false}));
    EXPECT_THAT(List(Top), testing::Contains(Listed{"Sales", true, true}));
}

TEST_F(DomainListingTest, LiveTreeHasNoDeletedObjects)
{
    OpenAndLogIn();
    EXPECT_THAT(List(Sales), ElementsAre(Listed{"Ann Smith", false, true},
                                         Listed{"North", true, true}, Listed{"Team", false, true}));
    EXPECT_THAT(List(North), ElementsAre(Listed{"Bob", false, true}));
    // The deleted-objects container itself is no part of the tree.
    for (const Listed &child : List(Top)) {
        EXPECT_NE(child.name, "Deleted Objects");
    }
}

TEST_F(DomainListingTest, DeletedObjectSharingItsNameWithALiveOneShowsTheStartOfItsGuid)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.Modify(std::string("dn: ") + AnnDn +
                          "\nchangetype: add\nobjectClass: user\nsAMAccountName: ann2\n"));
    const std::string found = dc.Search(DomainController::Base, "sub",
                                        "(&(isDeleted=TRUE)(sAMAccountName=ann))", {"1.1"}, true);
    // The deleted name ends in "DEL:<guid>".
    const std::size_t mark = found.find("DEL:");
    ASSERT_NE(mark, std::string::npos) << found;
    const std::string guidStart = found.substr(mark + 4, 8);
    OpenAndLogIn();

    const std::vector<Listed> children = List(Sales);
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0], (Listed{"Ann Smith", false, true}));
    EXPECT_EQ(children[1], (Listed{"Ann Smith (deleted " + guidStart + ")", false, false}));
    // Both can be told apart afterwards: the history of each is its own.
    EXPECT_EQ(History(Ann).size(), 1u);
    EXPECT_EQ(History("Ann Smith (deleted " + guidStart + ")." + Sales).size(), 1u);
}

TEST_F(DomainListingTest, HistoryIsThePresentStateAndEverySnapshotThatHoldsTheObject)
{
    dc.WriteSnapshot(1000000000, dc.Export());
    ASSERT_TRUE(dc.Delete(AnnDn));
    dc.WriteSnapshot(1100000000, dc.Export());
    const auto before = static_cast<BackupTime>(std::time(nullptr)) - 600;
    OpenAndLogIn();

    const std::vector<BackupTime> ann = History(Ann);
    ASSERT_EQ(ann.size(), 2u);
    EXPECT_EQ(ann[0], 1000000000);
    EXPECT_GT(ann[1], before) << "the time it was deleted";
    EXPECT_THAT(History(Bob), ElementsAre(1000000000, 1100000000, testing::Gt(before)));
    EXPECT_TRUE(History("Nobody." + std::string(Sales)).empty());
}

// Times as the controller writes them, and the names of deleted objects.
TEST(DomainNames, GeneralizedTimesAreReadAsSecondsSince1970)
{
    const struct {
        const char *text;
        BackupTime seconds;
    } cases[] = {{"20261210142436.0Z", 1796912676}, {"19700101000001.0Z", 1},
                 {"20010909014640Z", 1000000000},   {"2026121014243", 0},
                 {"2026x210142436.0Z", 0},          {"", 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(DomainListing::Seconds(c.text), c.seconds) << c.text;
    }
}

TEST(DomainNames, TheNameADeletedObjectHadIsItsNameBeforeTheDeletedMark)
{
    const std::vector<std::string> lastKnown{"Ann Smith, the longer name"};
    const struct {
        RelativeName deleted;
        const std::vector<std::string> *lastKnown;
        const char *original;
    } cases[] = {
        {{{"CN", "Ann Smith\nDEL:79ac65ac-bc14-40b2-b411-5524bd9aad22"}}, nullptr, "Ann Smith"},
        {{{"OU", "North\nDEL:88789a61-aa48-49d3-8cbd-5c6156141e29"}}, nullptr, "North"},
        {{{"CN", "Ann Smith\nDEL:79ac65ac"}}, &lastKnown, "Ann Smith, the longer name"},
        {{{"CN", "Never deleted"}}, nullptr, "Never deleted"},
    };
    for (const auto &c : cases) {
        const RelativeName original = DeletedObjects::OriginalRdn(c.deleted, c.lastKnown);
        ASSERT_EQ(original.size(), 1u);
        EXPECT_EQ(original.front().value, c.original);
        EXPECT_EQ(original.front().type, c.deleted.front().type);
    }
}
} // namespace
