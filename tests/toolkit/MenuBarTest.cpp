// The menu bar from a menu resource: texts with mnemonics, help texts, enabled entries, the
// accelerator, and dispatch of the chosen entry's id to the handler on top of the stack.
#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/MenuBar.h"

TEST(MenuBar, BuildsEntriesFromTheResource)
{
    InstalledTestResources resources;
    MenuBar menu{ResId(kTestMenu)};
    ASSERT_NE(menu.Action(1), nullptr);
    EXPECT_EQ(menu.Action(1)->text(), "E&xit!");
    EXPECT_EQ(menu.Action(1)->statusTip(), "Leave");
    EXPECT_EQ(menu.GetItemText(3), "~Open");
    EXPECT_EQ(menu.GetHelpText(2), "File things");
    EXPECT_TRUE(menu.IsItemEnabled(3));
    EXPECT_FALSE(menu.IsItemEnabled(4));
    PopupMenu *file = menu.GetPopupMenu(2);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetItemCount(), 2);
    EXPECT_EQ(file->GetItemId(0), 3);
    EXPECT_EQ(file->GetItemId(1), 4);
    file->EnableItem(4, true);
    EXPECT_TRUE(menu.IsItemEnabled(4));
}

TEST(MenuBar, DispatchesTheChosenIdToTheTopHandler)
{
    InstalledTestResources resources;
    MenuBar menu{ResId(kTestMenu)};
    std::vector<int> lower, upper;
    menu.PushSelectHdl([&](MenuBar &m) {
        lower.push_back(m.GetCurItemId());
        return 1L;
    });
    menu.PushSelectHdl([&](MenuBar &m) {
        upper.push_back(m.GetCurItemId());
        return 2L;
    });
    EXPECT_EQ(menu.Select(3), 2);
    menu.Action(1)->trigger();    // as a click or the accelerator would
    EXPECT_EQ(menu.Select(4), 0); // disabled: nothing happens
    menu.PopSelectHdl();
    EXPECT_EQ(menu.Select(3), 1);
    EXPECT_EQ(upper, (std::vector<int>{3, 1}));
    EXPECT_EQ(lower, (std::vector<int>{3}));
}
