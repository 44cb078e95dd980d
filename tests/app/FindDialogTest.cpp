// Finding objects from the main window: the Find command, matches as they arrive with a count,
// Stop, no match, a server that cannot search, and going to a result deep in the tree.
#include <QHeaderView>
#include <QTreeWidget>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>

#include "app/FindDialog.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/core/RequestGate.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/Edit.h"
#include "toolkit/EventWait.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/PushButton.h"

namespace
{
void ScriptSearchableTree(ScriptedServer &script)
{
    ScriptSmallTree(script);
    script.SetSearchResults({Leaf("Cid.East.Sales.Marrowby"), Container("East.Sales.Marrowby"),
                             Leaf("Gone.East.Sales.Marrowby", false)});
    script.SetHistory("Cid.East.Sales.Marrowby", {700000000, 800000000});
}

void ScriptUnsearchableTree(ScriptedServer &script)
{
    ScriptSmallTree(script);
    script.SetCannotSearch(true);
}

class FindDialogTest : public testing::Test
{
  protected:
    explicit FindDialogTest(void (*scriptTree)(ScriptedServer &) = ScriptSearchableTree)
        : f(scriptTree)
    {
    }

    FindDialog &Open()
    {
        f.Menu(kMenuItemFind);
        if (f.window->GetFindDialog() == nullptr) {
            f.window->CmdFind(); // as the command would, were it enabled
        }
        FindDialog *dialog = f.window->GetFindDialog();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    // Runs the event loop until the search has ended (each batch's completion asks for the
    // next).
    void Search(FindDialog &dialog, const std::string &pattern, bool deletedOnly = false)
    {
        dialog.SetPattern(pattern);
        dialog.SetDeletedOnly(deletedOnly);
        QTest::mouseClick(dialog.FindButton().Widget(), Qt::LeftButton);
        EventWait::Until([&dialog] { return !dialog.IsSearching(); });
    }

    std::vector<std::string> Column(FindDialog &dialog, int column)
    {
        std::vector<std::string> cells;
        for (int row = 0; row < dialog.Results().RowCount(); ++row) {
            cells.push_back(dialog.Results().CellText(row, column));
        }
        return cells;
    }

    // Before the window: its worker may still be leaving the gate when the test ends.
    RequestGate gate;
    MainWindowFixture f;
};

TEST_F(FindDialogTest, ShowsEveryMatchInNamedColumnsWithACount)
{
    FindDialog &dialog = Open();
    Search(dialog, "e");
    EXPECT_EQ(dialog.StatusText(), "3 objects found.");
    using V = std::vector<std::string>;
    EXPECT_EQ(Column(dialog, FindDialog::NameColumn), (V{"Cid", "East", "Gone"}));
    EXPECT_EQ(Column(dialog, FindDialog::KindColumn),
              (V{"Leaf object", "Container", "Leaf object"}));
    EXPECT_EQ(Column(dialog, FindDialog::StateColumn), (V{"Present", "Present", "Deleted"}));
    const LoggedRequest last = f.script.RequestsOf(SearchObjects).back();
    EXPECT_EQ(last.name, "Marrowby"); // the top context's subtree
    EXPECT_EQ(last.pattern, "e");
    EXPECT_EQ(last.flags, 0u);

    // A list with named columns, named itself, for assistive tools.
    auto *table = static_cast<QTreeWidget *>(dialog.Results().Widget());
    EXPECT_EQ(table->headerItem()->text(FindDialog::FullNameColumn).toStdString(), "Full name");
    EXPECT_EQ(table->accessibleName().toStdString(), "Results:");
    // Sorted by the column the user picks.
    dialog.Results().SortByColumn(FindDialog::StateColumn, true);
    EXPECT_EQ(dialog.Results().CellText(0, FindDialog::NameColumn), "Gone");
}

TEST_F(FindDialogTest, DeletedOnlyIsAskedAndNoMatchIsSaid)
{
    FindDialog &dialog = Open();
    f.script.SetSearchResults({});
    Search(dialog, "nobody", true);
    EXPECT_EQ(dialog.StatusText(), "No object matches \"nobody\".");
    EXPECT_EQ(dialog.Results().RowCount(), 0);
    EXPECT_EQ(f.script.RequestsOf(SearchObjects).back().flags, SearchDeletedOnly);
}

TEST_F(FindDialogTest, AnEmptyPatternAsksTheServerNothing)
{
    FindDialog &dialog = Open();
    Search(dialog, "");
    EXPECT_TRUE(f.script.RequestsOf(SearchObjects).size() <= 1u); // the start-up probe at most
    EXPECT_FALSE(dialog.StatusText().empty());
}

TEST_F(FindDialogTest, StopGivesUpTheBatchUnderWayKeepingWhatWasFoundBefore)
{
    std::vector<ScriptedChild> many;
    for (int i = 0; i < 350; ++i) {
        many.push_back(Leaf("P" + std::to_string(i) + ".Sales.Marrowby"));
    }
    f.script.SetSearchResults(many);
    FindDialog &dialog = Open();
    // The click comes while the worker is in the middle of the second batch.
    f.script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == SearchObjects && request.lastId == 150) {
            QMetaObject::invokeMethod(
                qApp,
                [&] {
                    QTest::mouseClick(dialog.StopButton().Widget(), Qt::LeftButton);
                    gate.Release();
                },
                Qt::QueuedConnection);
            gate.Hold();
        }
    });
    Search(dialog, "p");
    f.script.OnRequest({});
    const std::size_t kept = FindDialog::kBatch; // the batch under way was dropped
    EXPECT_EQ(dialog.Results().RowCount(), static_cast<int>(kept));
    EXPECT_EQ(dialog.StatusText(), "Stopped: " + std::to_string(kept) + " objects found.");
    // The batch under way asked nothing after the stop.
    EXPECT_EQ(f.script.RequestsOf(SearchObjects).back().lastId, 150);
    EXPECT_TRUE(dialog.FindButton().IsEnabled());
    EXPECT_FALSE(dialog.StopButton().IsEnabled());
}

TEST_F(FindDialogTest, AFailureSaysWhyAndKeepsWhatWasFound)
{
    f.script.SetSearchFailure(2, "Server is unwilling to perform");
    FindDialog &dialog = Open();
    Search(dialog, "e");
    EXPECT_EQ(dialog.StatusText(),
              "The search failed: Server is unwilling to perform (2 objects found.)");
    EXPECT_EQ(dialog.Results().RowCount(), 2);
}

TEST_F(FindDialogTest, ChoosingAResultFourLevelsDownOpensItsPathSelectsItAndShowsItsHistory)
{
    FindDialog &dialog = Open();
    Search(dialog, "e");
    // Sorted the other way round, the rows must still lead to their own objects.
    dialog.Results().SortByColumn(FindDialog::NameColumn, false);
    dialog.Results().SelectRow(2); // Cid
    QTest::keyClick(dialog.Results().Widget(), Qt::Key_Return);
    QApplication::processEvents();

    const int32_t row = f.Tree().SelectedRow();
    ASSERT_NE(f.ItemAt(row), nullptr);
    EXPECT_EQ(f.ItemAt(row)->FullName(), "Cid.East.Sales.Marrowby");
    EXPECT_TRUE(f.ItemAt(3)->IsOpen()); // Sales
    EXPECT_TRUE(f.ItemAt(6)->IsOpen()); // East
    EXPECT_GE(row, f.Tree().TopRow());
    EXPECT_LT(row, f.Tree().TopRow() + f.Tree().VisibleRows());
    EXPECT_EQ(f.window->VersionList().TotalCount(), 2u);
    EXPECT_EQ(f.script.RequestsOf(GetHistory).back().name, "Cid.East.Sales.Marrowby");
    // Nothing was searched again on the way.
    EXPECT_EQ(dialog.Results().RowCount(), 3);
}

// Find stays open beside the tree: going to a row it stands over moves it clear of the row.
TEST_F(FindDialogTest, GoingToAResultUnderTheDialogMovesTheDialogClearOfIt)
{
    FindDialog &dialog = Open();
    Search(dialog, "e");
    dialog.GoToRow(0);
    const auto rowOnScreen = [this] {
        RowArea &rows = f.Tree().GetRowArea();
        const Rectangle row = rows.AccessibleRowRect(rows.SelectedRow());
        const Point origin = rows.ScreenPos();
        return Rectangle{row.left + origin.x, row.top + origin.y, row.right + origin.x,
                         row.bottom + origin.y};
    };
    const Rectangle found = rowOnScreen();
    dialog.SetPosPixel({found.left + 10, found.top - 20});
    ASSERT_TRUE(dialog.FrameRect().Overlaps(found));

    dialog.GoToRow(0);
    EXPECT_EQ(rowOnScreen(), found); // the tree did not move: the dialog did
    EXPECT_FALSE(dialog.FrameRect().Overlaps(found));
}

TEST_F(FindDialogTest, AResultTheTreeDoesNotHoldIsSaid)
{
    FindDialog &dialog = Open();
    Search(dialog, "e");
    ASSERT_EQ(dialog.Results().CellText(2, FindDialog::NameColumn), "Gone");
    dialog.GoToRow(2); // the listing of East does not hold it
    EXPECT_EQ(dialog.StatusText(), "Gone.East.Sales.Marrowby is not in the tree view.");
}

namespace
{
void OnHome(std::function<void()> call)
{
    QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
}

// The lines of the restore run's final list.
ModalScript::Action ReadLines(std::vector<std::string> &lines)
{
    return [&lines](ModalDialog &dialog) {
        ListBox *box = dialog.Find<ListBox>(ResId(kRestoreResults));
        for (int i = 0; i < box->GetEntryCount(); ++i) {
            lines.push_back(box->GetEntry(i));
        }
    };
}
} // namespace

// A restore runs: a search would hold it up, so Find says why it does not start.
TEST_F(FindDialogTest, ASearchDoesNotStartWhileARestoreRunsAndFindSaysSo)
{
    FindDialog &dialog = Open();
    f.ClickBox(2); // Printer
    std::string said;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1, [&](ModalDialog &) {
        OnHome([&] {
            dialog.SetPattern("e");
            QTest::mouseClick(dialog.FindButton().Widget(), Qt::LeftButton);
            said = dialog.StatusText();
        });
    });
    script.ExpectDialog(kDialogRestore, 1);
    const std::size_t searchesBefore = f.script.RequestsOf(SearchObjects).size();
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(said, FindDialog::kRestoreUnderWay);
    EXPECT_FALSE(dialog.IsSearching());
    EXPECT_EQ(f.script.RequestsOf(SearchObjects).size(), searchesBefore);
}

// Find's Stop belongs to the search: pressed while a restore runs, it gives up the search's
// batch and leaves the restore going to its end.
TEST_F(FindDialogTest, StopInFindStopsTheSearchAndNotARestoreRun)
{
    std::vector<ScriptedChild> many;
    for (int i = 0; i < 350; ++i) {
        many.push_back(Leaf("P" + std::to_string(i) + ".Sales.Marrowby"));
    }
    f.script.SetSearchResults(many);
    f.ClickBox(1); // Admin
    f.ClickBox(2); // Printer
    FindDialog &dialog = Open();
    RequestGate gate;
    std::atomic<bool> held{false};
    // The restore is chosen while the search's first batch is in the server.
    f.script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == SearchObjects && request.lastId == 0 && !held.exchange(true)) {
            OnHome([&] { f.menuBar.Select(kMenuItemRestore); });
            gate.Hold([&] { return f.script.AbandonAsked(); });
        }
    });
    std::vector<std::string> lines;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1, [&](ModalDialog &) {
        OnHome([&] { QTest::mouseClick(dialog.StopButton().Widget(), Qt::LeftButton); });
    });
    script.ExpectDialog(kDialogRestore, 1, ReadLines(lines));
    dialog.SetPattern("p");
    QTest::mouseClick(dialog.FindButton().Widget(), Qt::LeftButton);
    EventWait::Until([&] { return !lines.empty(); });
    EXPECT_EQ(lines, (std::vector<std::string>{"Admin.Marrowby", "Printer.Marrowby"}));
    EXPECT_EQ(f.script.RequestsOf(RestoreObject).size(), 2u);
    EXPECT_EQ(dialog.StatusText(), "Stopped: 0 objects found.");
    EXPECT_EQ(f.script.RequestsOf(SearchObjects).back().lastId, 0); // nothing after the stop
}

class UnsearchableServerTest : public FindDialogTest
{
  protected:
    UnsearchableServerTest() : FindDialogTest(ScriptUnsearchableTree) {}
};

TEST_F(UnsearchableServerTest, FindIsOffAndTheDialogSaysTheServerCannotSearch)
{
    EXPECT_FALSE(f.menuBar.IsItemEnabled(kMenuItemFind));
    f.Menu(kMenuItemFind);
    EXPECT_EQ(f.window->GetFindDialog(), nullptr);
    FindDialog &dialog = Open(); // a server may also refuse only when asked to search
    Search(dialog, "ann");
    EXPECT_EQ(dialog.StatusText(), FindDialog::kCannotSearch);
    EXPECT_FALSE(dialog.FindButton().IsEnabled());
    EXPECT_EQ(dialog.Results().RowCount(), 0);
}
} // namespace

// Closed with its Close button and opened again, the dialog's Return still searches: the button
// the user last pressed never takes the dialog's main action.
TEST_F(FindDialogTest, ReturnInThePatternSearchesAfterTheDialogWasClosedWithClose)
{
    FindDialog &dialog = Open();
    dialog.Present();
    PushButton *close = dialog.Find<PushButton>(ResId(kFindClose));
    ASSERT_NE(close, nullptr);
    close->GrabFocus(); // where a click or Tab leaves the keyboard
    QTest::mouseClick(close->Widget(), Qt::LeftButton);
    ASSERT_FALSE(dialog.IsVisible());

    f.window->CmdFind();
    ASSERT_TRUE(dialog.IsVisible());
    dialog.SetPattern("e");
    Edit *pattern = dialog.Find<Edit>(ResId(kFindPattern));
    QTest::keyClick(pattern->Widget(), Qt::Key_Return);
    EXPECT_TRUE(dialog.IsVisible()) << "Return closed the dialog";
    for (int pass = 0; pass < 1000 && dialog.IsSearching(); ++pass) {
        QApplication::processEvents();
    }
    EXPECT_EQ(dialog.StatusText(), "3 objects found.");
}
