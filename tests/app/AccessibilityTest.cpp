// The main window as assistive tools read it: the two views as trees of their rows, whose names,
// roles, states and counts follow opening, marking, selecting and re-rooting; the status bar's
// fields as text.
#include <QLabel>
#include <gtest/gtest.h>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/AccessibleEventLog.h"
#include "toolkit/StatusBar.h"

namespace
{

QAccessibleInterface *TreeRows(MainWindowFixture &f)
{
    return AccessibleOf(f.Tree().GetRowArea().Widget());
}

QAccessibleInterface *HistoryRows(MainWindowFixture &f)
{
    return AccessibleOf(f.History().GetRowArea().Widget());
}

QAccessible::State StateOf(MainWindowFixture &f, int row)
{
    return TreeRows(f)->child(row)->state();
}

std::string StatusField(MainWindowFixture &f, uint16_t id)
{
    return AccessibleName(AccessibleOf(f.window->GetStatusBar().ItemLabel(id)));
}

// Rows after opening Sales: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob, 6 East.
void OpenSales(MainWindowFixture &f)
{
    f.DoubleClick(3);
}

} // namespace

TEST(Accessibility, OpeningAContainerAddsItsChildrenAsRows)
{
    MainWindowFixture f;
    QAccessibleInterface *rows = TreeRows(f);
    EXPECT_EQ(rows->role(), QAccessible::Tree);
    EXPECT_EQ(AccessibleName(rows), "Marrowby");
    EXPECT_EQ(ChildNames(rows),
              (std::vector<std::string>{"Marrowby", "Admin", "Printer", "Sales"}));
    EXPECT_TRUE(StateOf(f, 0).expanded);
    EXPECT_TRUE(StateOf(f, 3).collapsed);
    EXPECT_FALSE(StateOf(f, 2).expandable) << "a leaf";

    OpenSales(f);
    EXPECT_EQ(rows->childCount(), 7);
    EXPECT_EQ(ChildNames(rows), (std::vector<std::string>{"Marrowby", "Admin", "Printer", "Sales",
                                                          "Ann", "Bob", "East"}));
    EXPECT_TRUE(StateOf(f, 3).expanded);
    EXPECT_TRUE(StateOf(f, 3).selected);
    EXPECT_TRUE(StateOf(f, 6).collapsed);
    for (int row = 0; row < rows->childCount(); ++row) {
        EXPECT_EQ(rows->child(row)->role(), QAccessible::TreeItem);
    }

    f.DoubleClick(3); // closed again
    EXPECT_EQ(rows->childCount(), 4);
    EXPECT_TRUE(StateOf(f, 3).collapsed);
}

TEST(Accessibility, MarksShowInTheRowsAndTheStatusBar)
{
    MainWindowFixture f;
    OpenSales(f);
    EXPECT_EQ(StatusField(f, MainWindow::kCountsField), "Containers: 0, Objects: 0");

    f.ClickBox(3); // Sales with its subtree
    EXPECT_TRUE(StateOf(f, 3).checked);
    for (int row : {4, 5, 6}) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(StateOf(f, row).checked);
        EXPECT_TRUE(StateOf(f, row).disabled);
    }
    EXPECT_FALSE(StateOf(f, 2).checked);
    EXPECT_EQ(StatusField(f, MainWindow::kCountsField), "Containers: 1, Objects: 0");

    f.ClickBox(3); // Sales alone: the third state
    EXPECT_TRUE(StateOf(f, 3).checkStateMixed);
    EXPECT_FALSE(StateOf(f, 3).checked);
    EXPECT_FALSE(StateOf(f, 4).checked);
    EXPECT_FALSE(StateOf(f, 4).disabled);

    f.ClickBox(2);
    EXPECT_TRUE(StateOf(f, 2).checked);
    EXPECT_EQ(StatusField(f, MainWindow::kCountsField), "Containers: 1, Objects: 1");
}

TEST(Accessibility, SelectingListsTheVersionsInTheHistoryTree)
{
    MainWindowFixture f;
    f.script.SetHistory("Printer.Marrowby", {300, 100, 200});
    f.script.SetHistory("Ann.Sales.Marrowby", {400});
    QAccessibleInterface *history = HistoryRows(f);
    EXPECT_EQ(AccessibleName(history), "-- No object selected --");
    EXPECT_EQ(history->childCount(), 0);

    f.Click(2);
    EXPECT_EQ(AccessibleName(history), "Printer.Marrowby");
    std::vector<std::string> dates;
    for (size_t row = 0; row < f.window->VersionList().TotalCount(); ++row) {
        dates.push_back(f.window->VersionList().ItemAt(row)->Text());
    }
    ASSERT_EQ(dates.size(), 3u);
    EXPECT_EQ(ChildNames(history), dates);
    EXPECT_FALSE(history->child(0)->state().disabled);
    EXPECT_FALSE(history->child(0)->state().checked) << "most recent: nothing ticked";

    // Inside a Marked container only the most recent version can be restored.
    OpenSales(f);
    f.ClickBox(3);
    f.Click(4);
    EXPECT_EQ(AccessibleName(history), "Most recent only : Ann.Sales.Marrowby");
    ASSERT_EQ(history->childCount(), 1);
    EXPECT_TRUE(history->child(0)->state().disabled);
}

TEST(Accessibility, ReRootingRenamesTheTreesAndReplacesTheRows)
{
    MainWindowFixture f;
    f.script.SetChildren("Elsewhere", {Leaf("Zed")});
    f.Click(2);
    QAccessibleInterface *tree = TreeRows(f);
    const QAccessible::Id oldRow = QAccessible::uniqueId(tree->child(2));
    AccessibleEventLog log;

    f.window->SetTopContext("Elsewhere");
    QApplication::processEvents();
    EXPECT_EQ(AccessibleName(tree), "Elsewhere");
    EXPECT_EQ(ChildNames(tree), (std::vector<std::string>{"Elsewhere", "Zed"}));
    EXPECT_FALSE(tree->child(0)->state().selected) << "nothing selected after a re-root";
    EXPECT_EQ(QAccessible::accessibleInterface(oldRow), nullptr);
    EXPECT_EQ(AccessibleName(HistoryRows(f)), "-- No object selected --");
    EXPECT_EQ(HistoryRows(f)->childCount(), 0);

    const std::vector<std::string> renamed = log.NamesOf(QAccessible::NameChanged);
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), "Elsewhere"), renamed.end());
    EXPECT_FALSE(log.NamesOf(QAccessible::ObjectReorder).empty());
}

TEST(Accessibility, StatusBarFieldsReadAsText)
{
    MainWindowFixture f;
    const std::vector<std::pair<uint16_t, std::string>> fields = {
        {MainWindow::kCountsField, "Containers: 0, Objects: 0"},
        {MainWindow::kUserField, f.login.UserName()},
        {MainWindow::kServerField, "FS1"},
    };
    for (const auto &[id, text] : fields) {
        SCOPED_TRACE(id);
        QAccessibleInterface *label = AccessibleOf(f.window->GetStatusBar().ItemLabel(id));
        EXPECT_EQ(label->role(), QAccessible::StaticText);
        EXPECT_EQ(AccessibleName(label), text);
        EXPECT_FALSE(label->state().invisible);
    }
}
