// A change report's rows as the window and the command line share them: which rows the filters
// show, which become which marks of a restore, and the formats read back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "changes/ChangeCounts.h"
#include "changes/ChangeFilter.h"
#include "changes/ChangeFormats.h"
#include "changes/ChangeMarks.h"
#include "tests/cli/ReadBack.h"
#include "tests/support/core/ChangeExpectations.h"

using testing::ElementsAre;

namespace
{
std::vector<ObjectChange> Rows()
{
    return {Deleted("Staff.Marrowby", true),
            Deleted("Cid.Staff.Marrowby"),
            Deleted("Old.Marrowby", true),
            Modified("Ann.Sales.Marrowby", {"sn", "userPassword"}),
            Modified("Sales.Marrowby", {"description"}, true),
            Moved("Faye.Sales.Marrowby", "Fay.Sales.Marrowby", {"cn"}, true),
            Moved("Eve.East.Marrowby", "Eve.Sales.Marrowby", {}, false),
            Added("Gil.Sales.Marrowby")};
}

std::string Time(BackupTime time)
{
    return "t" + std::to_string(time);
}

TEST(ChangeFilter, ShowsRowsByKindAttributeAndOwnName)
{
    const struct {
        std::set<ChangeKind> kinds;
        std::string attribute;
        std::string names;
        std::vector<std::string> shown;
    } cases[] = {
        {{ChangeKind::Moved, ChangeKind::Added},
         "",
         "",
         {"Faye.Sales.Marrowby", "Eve.East.Marrowby", "Gil.Sales.Marrowby"}},
        {{}, "SN", "", {"Ann.Sales.Marrowby"}},
        {{}, "", "?a*", {"Sales.Marrowby", "Faye.Sales.Marrowby"}},
        // The pattern is the object's own name's, never its ancestors'.
        {{}, "", "staff", {"Staff.Marrowby"}},
        {{ChangeKind::Deleted}, "cn", "", {}},
    };
    for (const auto &test : cases) {
        ChangeFilter filter;
        filter.ShowKinds(test.kinds);
        filter.ShowAttribute(test.attribute);
        filter.ShowNames(test.names);
        std::vector<std::string> shown;
        for (const ObjectChange &row : Rows()) {
            if (filter.Shows(row)) {
                shown.push_back(row.fullName);
            }
        }
        EXPECT_EQ(shown, test.shown) << test.attribute << " " << test.names;
    }
}

TEST(ChangeMarks, DeletedModifiedAndFreeMovedRowsBecomeMarksAtTheEarlierVersion)
{
    const std::vector<ObjectChange> rows = Rows();
    std::vector<const ObjectChange *> pointers;
    for (const ObjectChange &row : rows) {
        pointers.push_back(&row);
    }
    std::vector<UnmarkedChange> unmarked;
    std::vector<std::string> lines;
    for (const ChangeMark &mark : ChangeMarks::Of(pointers, unmarked)) {
        lines.push_back(ChangeMarks::ObjectLine(mark, "V"));
    }
    EXPECT_THAT(lines,
                ElementsAre("Staff.Marrowby/@V", // its deleted child is a row of its own
                            "Cid.Staff.Marrowby@V",
                            "Old.Marrowby", // its subtree, at its most recent version
                            "Ann.Sales.Marrowby@V", "Sales.Marrowby/@V", "Fay.Sales.Marrowby@V"));
    ASSERT_EQ(unmarked.size(), 2u);
    EXPECT_EQ(unmarked[0].row->fullName, "Eve.East.Marrowby");
    EXPECT_EQ(unmarked[0].reason, ChangeMarks::kOldNameTaken);
    EXPECT_EQ(unmarked[1].row->fullName, "Gil.Sales.Marrowby");
    EXPECT_EQ(unmarked[1].reason, ChangeMarks::kAddedOnly);
}

TEST(ChangeFormats, CsvAndJsonReadBackWithEveryField)
{
    std::vector<ObjectChange> rows{
        Deleted("Bob, Jr.Sales.Marrowby", false, 1500),
        Moved("Faye.Sales.Marrowby", "Fay.Sales.Marrowby", {"cn", "sn"})};
    const std::optional<std::vector<readback::Row>> csv =
        readback::Csv(ChangeFormats::Render(ChangeFormat::Csv, rows, &Time, "V"));
    ASSERT_TRUE(csv);
    EXPECT_THAT(*csv, ElementsAre(ChangeFormats::Header(),
                                  readback::Row{"Bob, Jr.Sales.Marrowby", "leaf", "deleted", "", "",
                                                "t1500"},
                                  readback::Row{"Faye.Sales.Marrowby", "leaf", "moved",
                                                "Fay.Sales.Marrowby", "cn, sn", ""}));

    const std::string text = ChangeFormats::Render(ChangeFormat::Json, rows, &Time, "V");
    const std::optional<readback::Json> json = readback::JsonReader(text).Document();
    ASSERT_TRUE(json && json->items.size() == 2) << text;
    EXPECT_EQ(json->items[0].Member("deleted")->string, "t1500");
    EXPECT_EQ(json->items[1].Member("oldName")->string, "Fay.Sales.Marrowby");
    const readback::Json *attributes = json->items[1].Member("attributes");
    ASSERT_TRUE(attributes && attributes->items.size() == 2) << text;
    EXPECT_EQ(attributes->items[1].string, "sn");
}

TEST(ChangeFormats, TextBeginsWithTheCountsAlsoWhenNothingChanged)
{
    EXPECT_EQ(ChangeFormats::Render(ChangeFormat::Text, {}, &Time, "V"),
              "0 changes: 0 deleted, 0 added, 0 modified, 0 moved\n");
    const std::string text = ChangeFormats::Render(ChangeFormat::Text, Rows(), &Time, "V");
    EXPECT_THAT(text, testing::StartsWith("8 changes: 3 deleted, 1 added, 2 modified, 2 moved\n"
                                          "object "));
    EXPECT_THAT(text, testing::HasSubstr("Ann.Sales.Marrowby   leaf       modified  "));
}
} // namespace
