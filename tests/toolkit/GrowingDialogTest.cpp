// Dialogs that fit what they show: controls that follow a dialog's growth, a size and column
// widths that come back the next time, a title cut in its middle only when it cannot fit, a
// column of buttons wide enough for its longest text, and tables whose columns take the width of
// what they hold.
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <numeric>

#include "tests/mwlib/TempDir.h"
#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/ColumnWidths.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/Placement.h"
#include "toolkit/PushButton.h"
#include "toolkit/TableBox.h"
#include "toolkit/TitleFit.h"
#include "toolkit/WindowMemory.h"

namespace
{

class TableDialog : public ModalDialog
{
  public:
    TableDialog() : ModalDialog(nullptr, ResId(kTestTableDialog))
    {
        table.SetColumns({"Name", "Full name", "State"});
        table.ElideInMiddle(1);
    }
    TableBox table{this, ResId(1)};
    OKButton ok{this, ResId(1)};
    PushButton other{this, ResId(1)};
};

QTreeWidget *Tree(TableBox &table)
{
    return static_cast<QTreeWidget *>(table.Widget());
}

int Sum(const std::vector<int> &widths)
{
    return std::accumulate(widths.begin(), widths.end(), 0);
}

struct GrowingDialog : ::testing::Test {
    InstalledTestResources resources;
};

struct MemoryOn {
    TempDir folder;
    MemoryOn() { WindowMemory::Use(folder.Path("window-state.json")); }
    ~MemoryOn() { WindowMemory::Use(""); }
};

} // namespace

TEST_F(GrowingDialog, ControlsFollowTheGrowthAsTheirAnchorsSay)
{
    TableDialog dialog;
    dialog.SetResizable();
    dialog.Follow(dialog.table, Anchor::Filling());
    dialog.Follow(dialog.ok, Anchor::Right());
    dialog.Follow(dialog.other, {0.5, 1, 0, 0});
    const Size start = dialog.StartSize();
    const Rectangle table = dialog.table.ResourceRect();
    const Rectangle ok = dialog.ok.ResourceRect();
    const Rectangle other = dialog.other.ResourceRect();
    dialog.Show();
    dialog.SetSizePixel({start.width + 100, start.height + 60});
    QApplication::processEvents();
    EXPECT_EQ(dialog.table.GetSizePixel(), (Size{table.Width() + 100, table.Height() + 60}));
    EXPECT_EQ(dialog.table.GetPosPixel(), (Point{table.left, table.top}));
    EXPECT_EQ(dialog.ok.GetPosPixel(), (Point{ok.left + 100, ok.top}));
    EXPECT_EQ(dialog.ok.GetSizePixel(), (Size{ok.Width(), ok.Height()}));
    EXPECT_EQ(dialog.other.GetPosPixel(), (Point{other.left + 50, other.top + 60}));
}

TEST_F(GrowingDialog, ComesBackAtTheSizeItClosedWithWithinItsStartAndTheScreen)
{
    MemoryOn memory;
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    Size start;
    {
        TableDialog dialog;
        dialog.SetResizable();
        dialog.RememberSize("Table");
        start = dialog.StartSize();
        dialog.Show();
        dialog.SetSizePixel({start.width + 70, start.height + 30});
        dialog.Hide();
    }
    struct Case {
        std::vector<int> kept;
        Size expected;
    };
    const std::vector<Case> cases = {
        {{}, {start.width + 70, start.height + 30}}, // as the dialog above left it
        {{10, 10}, start},
        {{100000, 100000}, {screen.width(), screen.height()}},
        {{1, 2, 3}, {}}, // not a size: as a dialog that remembers nothing
    };
    TableDialog fresh;
    fresh.SetResizable();
    for (const Case &c : cases) {
        if (!c.kept.empty()) {
            WindowMemory::Keep("Table", c.kept);
        }
        TableDialog dialog;
        dialog.SetResizable();
        dialog.RememberSize("Table");
        EXPECT_EQ(dialog.GetSizePixel(), c.expected == Size{} ? fresh.GetSizePixel() : c.expected)
            << c.kept.size();
    }
}

TEST_F(GrowingDialog, ATitleIsCutInItsMiddleOnlyWhenTheDialogCannotShowItWhole)
{
    const std::string title =
        "Restore of 11 Dec 2025  02:58:03 on a server with a very long name indeed FS1";
    const int whole = TitleWidthNeeded(title);
    EXPECT_EQ(FitTitle(title, whole), title);
    const std::string cut = FitTitle(title, whole - 100);
    ASSERT_NE(cut, title);
    EXPECT_EQ(cut.substr(0, 7), "Restore");
    EXPECT_EQ(cut.substr(cut.size() - 3), "FS1");
    EXPECT_NE(cut.find("\u2026"), std::string::npos);

    TableDialog dialog;
    dialog.SetText(title);
    EXPECT_NE(dialog.ShownTitle(), title);
    EXPECT_EQ(dialog.GetText(), title) << "the program and assistive tools have it whole";
    EXPECT_EQ(dialog.QtDialog()->accessibleName().toStdString(), title);
    dialog.WidenForTitle();
    dialog.Show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.ShownTitle(), title) << "a dialog that can be wide enough is";
}

TEST_F(GrowingDialog, AColumnOfButtonsWidensToItsLongestTextKeepingItsMargin)
{
    TableDialog dialog;
    dialog.Follow(dialog.ok, Anchor::Right());
    dialog.Follow(dialog.other, Anchor::Right());
    const int margin = dialog.GetSizePixel().width - dialog.other.ResourceRect().right;
    const int table = dialog.table.ResourceRect().right;
    WidenButtonColumn(dialog, {&dialog.ok, &dialog.other});
    dialog.Show();
    QApplication::processEvents();
    const int needed = dialog.other.Button()->sizeHint().width();
    EXPECT_GE(dialog.other.GetSizePixel().width, needed);
    EXPECT_EQ(dialog.ok.GetSizePixel().width, dialog.other.GetSizePixel().width);
    EXPECT_EQ(dialog.ok.GetPosPixel().x, dialog.other.GetPosPixel().x);
    const int right = dialog.other.GetPosPixel().x + dialog.other.GetSizePixel().width - 1;
    EXPECT_EQ(dialog.GetSizePixel().width - right, margin);
    EXPECT_GT(dialog.ok.GetPosPixel().x, table) << "nothing to its left is covered";
}

TEST_F(GrowingDialog, ColumnsTakeWhatTheyHoldAndShareWhatIsLeftAsTheTableGrows)
{
    TableDialog dialog;
    dialog.SetResizable();
    dialog.Follow(dialog.table, Anchor::Filling());
    dialog.Show();
    const std::string full =
        "Object-5 with a long name.Team-4 of the eastern region.Project-3.Sales.Marrowby";
    dialog.table.AddRow({"Object-5", full, "Present"});
    dialog.table.FitColumns();
    QApplication::processEvents();
    QTreeWidget *tree = Tree(dialog.table);
    const int room = tree->viewport()->width();
    std::vector<int> widths = dialog.table.ColumnWidthsShown();
    EXPECT_EQ(Sum(widths), room) << "no horizontal scroll bar";
    EXPECT_GE(widths[0], tree->fontMetrics().horizontalAdvance("Object-5"));
    EXPECT_GE(widths[2], tree->fontMetrics().horizontalAdvance("Present"));

    dialog.SetSizePixel({dialog.GetSizePixel().width + 200, dialog.GetSizePixel().height});
    QApplication::processEvents();
    const std::vector<int> wider = dialog.table.ColumnWidthsShown();
    EXPECT_EQ(wider[0], widths[0]);
    EXPECT_EQ(wider[1], widths[1] + 200) << "the cut column takes the room";
    EXPECT_EQ(dialog.table.StateToKeep(), std::vector<int>{}) << "fitted widths are not kept";

    // Once the user drags a column's edge, the widths are theirs: kept, and no longer fitted.
    tree->header()->resizeSection(0, widths[0] + 30);
    const std::vector<int> users = dialog.table.StateToKeep();
    ASSERT_EQ(users.size(), 3u);
    EXPECT_EQ(users[0], widths[0] + 30);
    dialog.SetSizePixel({dialog.GetSizePixel().width - 100, dialog.GetSizePixel().height});
    QApplication::processEvents();
    EXPECT_EQ(dialog.table.ColumnWidthsShown()[0], widths[0] + 30);
    EXPECT_EQ(dialog.table.ColumnWidthsShown()[1], users[1]);
}

TEST_F(GrowingDialog, TheUsersColumnWidthsComeBackWithTheDialog)
{
    MemoryOn memory;
    std::vector<int> users;
    {
        TableDialog dialog;
        dialog.RememberSize("Table");
        dialog.Show();
        Tree(dialog.table)->header()->resizeSection(0, 77);
        users = dialog.table.StateToKeep();
        dialog.Hide();
    }
    TableDialog dialog;
    dialog.RememberSize("Table");
    dialog.table.AddRow({"a", "b", "c"});
    dialog.table.FitColumns();
    EXPECT_EQ(dialog.table.ColumnWidthsShown()[0], 77);
    EXPECT_EQ(dialog.table.StateToKeep(), users);
}

TEST(ColumnWidths, NarrowColumnsKeepTheirWidthsAndWideOnesShareTheRest)
{
    struct Case {
        std::vector<int> wanted;
        int room;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        {{50, 60, 70}, 300, {50, 60, 70}},     // all fit
        {{50, 500, 70}, 300, {50, 180, 70}},   // the wide one takes what is left
        {{50, 500, 400}, 300, {50, 125, 125}}, // two wide ones share it alike
        {{500, 500}, 10, {5, 5}},
        {{}, 100, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ColumnWidths::Shared(c.wanted, c.room), c.expected) << c.room;
    }
}

TEST_F(GrowingDialog, ACutFullNameKeepsItsEndsAndShowsItsWholeTextAsTip)
{
    TableDialog dialog;
    dialog.Show();
    const std::string full = "Object-5.Team-4.Project-3.Region-2.Division-1.Sales.East.Marrowby";
    dialog.table.AddRow({"Object-5", full, "Present"});
    QTreeWidget *tree = Tree(dialog.table);
    tree->setColumnWidth(0, 60);
    tree->setColumnWidth(1, 90);
    QApplication::processEvents();
    const QModelIndex cut = tree->model()->index(0, 1);
    const QModelIndex whole = tree->model()->index(0, 2);
    const auto askTip = [tree](const QModelIndex &index) {
        const QPoint at = tree->visualRect(index).center();
        QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &help);
    };
    askTip(cut);
    EXPECT_EQ(QToolTip::text().toStdString(), full);
    askTip(whole);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        << "a cell that shows all has no tip";
}

TEST_F(GrowingDialog, AFixedTextCutInTheMiddleKeepsItsEndsAndItsWholeText)
{
    TableDialog dialog;
    FixedText note(&dialog, ResId(0));
    dialog.Show();
    note.Show();
    note.SetElidedInMiddle();
    note.SetPosSizePixel({0, 0}, {120, 20});
    const std::string text = "Saved 412 lines to /home/ann/reports/restore-run-20251211-025803.csv";
    note.SetText(text);
    EXPECT_EQ(note.GetText(), text);
    const std::string shown = note.ShownText();
    ASSERT_NE(shown, text);
    EXPECT_EQ(shown.substr(0, 5), "Saved");
    EXPECT_EQ(shown.substr(shown.size() - 4), ".csv");
    EXPECT_EQ(note.Widget()->toolTip().toStdString(), text);
    note.SetPosSizePixel({0, 0}, {2000, 20});
    EXPECT_EQ(note.ShownText(), text);
    EXPECT_EQ(note.Widget()->toolTip().toStdString(), "");
}
