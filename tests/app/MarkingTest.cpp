// Marking objects for restore by clicking the tree view's check boxes: what a mark means for the
// loaded objects below, the counts in the status bar, and the two clearing commands.
#include <gtest/gtest.h>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/PopupMenu.h"

namespace
{

// Rows after opening Sales and East: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob,
// 6 East, 7 Cid, 8 Dee.
void OpenSalesAndEast(MainWindowFixture &f)
{
    f.DoubleClick(3);
    f.DoubleClick(6);
    ASSERT_EQ(f.window->ObjectForest().TotalCount(), 9u);
}

bool ClearSubtreeEnabled(MainWindowFixture &f)
{
    return f.menuBar.IsItemEnabled(kMenuItemClearSubtree);
}

} // namespace

TEST(Marking, MarkedContainerCoversItsLoadedDescendants)
{
    MainWindowFixture f;
    OpenSalesAndEast(f);
    f.ClickBox(3);
    EXPECT_EQ(f.ItemAt(3)->GetCheckState(), Marked);
    for (int row = 4; row <= 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(f.ItemAt(row)->GetCheckState(), Marked);
        EXPECT_FALSE(f.ItemAt(row)->IsEnabled());
        EXPECT_FALSE(f.Tree().GetCheckColumn().Box(static_cast<size_t>(row))->IsEnabled());
    }
    EXPECT_EQ(f.Counts(), "Containers: 1, Objects: 0");
}

TEST(Marking, ThirdStateSelectsTheContainerAloneAndFreesItsDescendants)
{
    MainWindowFixture f;
    OpenSalesAndEast(f);
    f.ClickBox(3);
    f.ClickBox(3); // third state
    EXPECT_EQ(f.ItemAt(3)->GetCheckState(), MarkedAlone);
    for (int row = 4; row <= 8; ++row) {
        EXPECT_EQ(f.ItemAt(row)->GetCheckState(), Unmarked);
        EXPECT_TRUE(f.ItemAt(row)->IsEnabled());
    }
    f.ClickBox(4);
    f.ClickBox(7);
    EXPECT_EQ(f.Counts(), "Containers: 1, Objects: 2");
    f.ClickBox(3); // Unmarked again: the marks below are lost
    EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.ItemAt(7)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
}

TEST(Marking, OpeningAClosedChildOfAMarkedContainerShowsItsChildrenMarked)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    f.ClickBox(3);
    f.DoubleClick(6); // East, closed until now
    EXPECT_EQ(f.ItemAt(7)->GetCheckState(), Marked);
    EXPECT_FALSE(f.ItemAt(7)->IsEnabled());
    EXPECT_EQ(f.Counts(), "Containers: 1, Objects: 0");
}

TEST(Marking, ClearSelectedSubtreeIsEnabledOnlyForAnOpenContainerWithMarksBelow)
{
    MainWindowFixture f;
    OpenSalesAndEast(f);
    f.Click(3);
    EXPECT_FALSE(ClearSubtreeEnabled(f));
    f.ClickBox(8);                       // Dee
    EXPECT_TRUE(ClearSubtreeEnabled(f)); // re-evaluated after a mark, for the selected row
    f.Click(4);                          // a leaf
    EXPECT_FALSE(ClearSubtreeEnabled(f));
    f.Click(6); // East, open, with Dee marked
    EXPECT_TRUE(ClearSubtreeEnabled(f));

    ModalScript script;
    script.ExpectBox(ModalKind::QueryBox, TreeViewReactions::kClearQuery, RET_YES);
    f.menuBar.Select(kMenuItemClearSubtree);
    EXPECT_EQ(f.ItemAt(8)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
    // The entry is not re-evaluated by the command: again right away finds nothing to clear.
    EXPECT_TRUE(ClearSubtreeEnabled(f));
    f.menuBar.Select(kMenuItemClearSubtree);
}

TEST(Marking, ClearSubtreeAnsweredNoKeepsTheMarks)
{
    MainWindowFixture f;
    OpenSalesAndEast(f);
    f.ClickBox(7);
    f.Click(6);
    ModalScript script;
    script.ExpectBox(ModalKind::QueryBox, TreeViewReactions::kClearQuery, RET_NO);
    f.menuBar.Select(kMenuItemClearSubtree);
    EXPECT_EQ(f.ItemAt(7)->GetCheckState(), Marked);
}

TEST(Marking, ClearAllWithOnlyAGrandchildMarkedAsksClearsAndShowsTheTopsVersions)
{
    MainWindowFixture f;
    f.script.SetHistory("Marrowby", {500, 400});
    OpenSalesAndEast(f);
    f.ClickBox(7);
    ModalScript script;
    script.ExpectBox(ModalKind::QueryBox, TreeViewReactions::kClearQuery, RET_YES);
    f.menuBar.Select(kMenuItemClearAll);
    EXPECT_EQ(f.ItemAt(7)->GetCheckState(), Unmarked);
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
    EXPECT_EQ(f.History().GetTitle(), "Marrowby");
    EXPECT_EQ(f.window->VersionList().TotalCount(), 2u);
    // Nothing marked any more: Clear All does nothing and asks nothing.
    f.menuBar.Select(kMenuItemClearAll);
}

TEST(Marking, MarkingResetsTheChosenVersionOtherStatesKeepIt)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    struct Case {
        int clicks;
        CheckState state;
        BackupTime expected;
    };
    // Sales moves 0 -> Marked -> MarkedAlone -> Unmarked with each click.
    const Case cases[] = {{1, Marked, 0}, {1, MarkedAlone, 777}, {1, Unmarked, 777}};
    for (const Case &c : cases) {
        f.ItemAt(3)->SetChosenVersion(777);
        for (int i = 0; i < c.clicks; ++i) {
            f.ClickBox(3);
        }
        EXPECT_EQ(f.ItemAt(3)->GetCheckState(), c.state);
        EXPECT_EQ(f.ItemAt(3)->ChosenVersion(), c.expected);
    }
}
