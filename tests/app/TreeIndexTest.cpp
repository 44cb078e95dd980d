// What the tree keeps for speed, compared with a plain pre-order walk after every kind of change
// the user makes through the main window: the row index (row ↔ node, subtree sizes, positions),
// the counts of marked rows below each row, and the termination registry, which must hold
// exactly the object items that are alive once the freeing of detached rows has caught up.
#include <gtest/gtest.h>

#include <functional>

#include "mwlib/MW_SIGTERMClientList.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/model/ForestChecks.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/ModalDialog.h"
#include "tree/TreeViewReactions.h"

namespace
{

class TreeIndex : public testing::Test
{
  protected:
    // Freeing of detached rows runs while the event loop is idle; let it finish.
    void FinishFreeing()
    {
        for (int pass = 0; pass < 1000 && f.window->TreeReactions().Reclaimer().HasWork(); ++pass) {
            QApplication::processEvents();
        }
        ASSERT_FALSE(f.window->TreeReactions().Reclaimer().HasWork());
    }
    void ExpectConsistent(const char *after)
    {
        SCOPED_TRACE(after);
        ExpectIndexesMatchPlainWalk(f.window->ObjectForest());
        FinishFreeing();
        // Every loaded row, the window's termination notice and its way to the server.
        EXPECT_EQ(registry.RegisteredCount(), f.window->ObjectForest().TotalCount() + 2);
    }

    MW_SIGTERMClientList registry; // outlives the window and its items
    MainWindowFixture f{ScriptSmallTree, &registry};
};

// Rows after opening Sales and East: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob,
// 6 East, 7 Cid, 8 Dee.
TEST_F(TreeIndex, MatchesAPlainWalkAfterOpenMarkCloseRestoreAndReRoot)
{
    ExpectConsistent("start");
    f.DoubleClick(3);
    f.DoubleClick(6);
    ExpectConsistent("open");
    ASSERT_EQ(f.TextAt(8), "Dee");

    f.ClickBox(7); // Cid
    f.ClickBox(6); // East: Marked, with Cid and Dee
    ExpectConsistent("mark a container");
    f.ClickBox(6); // East alone: its children are unmarked again
    f.ClickBox(4); // Ann
    ExpectConsistent("mark alone, mark a leaf");
    EXPECT_TRUE(f.window->Selection().HasMarkedDescendant(*f.ItemAt(0)));
    EXPECT_FALSE(f.window->Selection().HasMarkedDescendant(*f.ItemAt(6)));

    f.Click(3);
    {
        ModalScript script; // Ann below is marked: closing asks
        script.ExpectBox(ModalKind::QueryBox, TreeViewReactions::kCloseQuery, RET_YES);
        f.DoubleClick(3);
    }
    ExpectConsistent("close with marks below");
    f.DoubleClick(3);
    f.DoubleClick(6);
    f.ClickBox(8);
    ExpectConsistent("reopen, mark");

    {
        ModalScript script;
        script.ExpectDialog(kDialogRestoreObjects, 1);
        script.ExpectDialog(kDialogRestore, 1);
        f.menuBar.Select(kMenuItemRestore);
    }
    ExpectConsistent("restore run");
    EXPECT_FALSE(f.window->Selection().HasMarkedDescendant(*f.ItemAt(0)));
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");

    f.ClickBox(5);
    f.window->SetTopContext("Sales.Marrowby");
    ExpectConsistent("re-root");
    EXPECT_EQ(f.TextAt(3), "East");
}

// The registry informs every item it holds: after the freeing caught up, that is every row.
TEST_F(TreeIndex, TerminationInformsEveryLoadedItem)
{
    f.DoubleClick(3);
    f.DoubleClick(6);
    f.Click(3);
    f.DoubleClick(3); // Sales closed: its four rows are freed
    FinishFreeing();
    ModalScript script;
    script.ExpectBox(ModalKind::WarningBox, TerminationNotice::kText, RET_OK);
    registry.Inform();
    QApplication::processEvents(); // the notice waits for the event loop
    for (std::size_t row = 0; row < f.window->ObjectForest().TotalCount(); ++row) {
        EXPECT_TRUE(f.ItemAt(static_cast<int>(row))->IsInformed()) << row;
    }
    EXPECT_EQ(registry.RegisteredCount(), 0u);
}

} // namespace
