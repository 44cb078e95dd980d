// The main window's spine: title, status bar, layout on resize, Tab between the views, menu
// dispatch by id, and the close query while objects are marked.
#include <QAccessible>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <fstream>

#include "tests/app/MainWindowFixture.h"
#include "tests/mwlib/TempDir.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/Application.h"
#include "toolkit/WindowMemory.h"

namespace
{
constexpr const char *kCloseQuery = "Items are still selected to be restored.\nAre you sure?";

// An application object whose Main is not used: it makes the main window the application's
// window, so that closing it ends the event loop.
class TestApplication : public Application
{
  public:
    void Main(int, char **) override {}
};
} // namespace

TEST(MainWindow, ShowsTitleStatusFieldsAndTheTopContext)
{
    MainWindowFixture f;
    EXPECT_EQ(f.window->GetText(), "Marrowby - TARVIK");
    StatusBar &bar = f.window->GetStatusBar();
    EXPECT_EQ(bar.GetText(), "Marrowby");
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
    EXPECT_EQ(bar.GetItemText(MainWindow::kUserField), "Admin.Tech_Support.Marrowby");
    EXPECT_EQ(bar.GetItemText(MainWindow::kServerField), "FS1");
    EXPECT_EQ(f.Tree().GetTitle(), "Marrowby");
    EXPECT_EQ(f.History().GetTitle(), "-- No object selected --");
    EXPECT_EQ(f.window->TopContext(), "Marrowby");
    // The top context and its children, sorted by name.
    EXPECT_EQ(f.TextAt(0), "Marrowby");
    EXPECT_EQ(f.TextAt(1), "Admin");
    EXPECT_EQ(f.TextAt(2), "Printer");
    EXPECT_EQ(f.TextAt(3), "Sales");
}

TEST(MainWindow, LaysOutItsChildrenOnResizeAndSplitterDrag)
{
    MainWindowFixture f;
    f.window->SetSizePixel({900, 600});
    QApplication::processEvents();
    Size output = f.window->GetOutputSizePixel();
    long split = f.window->GetSplitter().GetSplitPosition();
    EXPECT_EQ(f.Tree().GetSizePixel().width, split - 5);
    EXPECT_EQ(f.History().GetPosPixel().x, split + 8);
    EXPECT_EQ(f.window->GetStatusBar().GetPosPixel().y, output.height - 20);

    f.window->GetSplitter().DragTo(300);
    EXPECT_EQ(f.Tree().GetSizePixel().width, 295);
    EXPECT_EQ(f.History().GetPosPixel().x, 308);
    EXPECT_EQ(f.History().GetSizePixel().width, output.width - 308);
}

// A window shrunk almost to nothing and enlarged again gets its panes back as the user split them.
TEST(MainWindow, TheTreeViewKeepsItsShareOfTheWidthThroughResizes)
{
    MainWindowFixture f;
    f.window->SetSizePixel({900, 600});
    QApplication::processEvents();
    const int width = f.window->GetOutputSizePixel().width;
    f.window->GetSplitter().DragTo(300);
    ASSERT_EQ(f.Tree().GetSizePixel().width, 295);

    f.window->SetSizePixel({120, 600});
    QApplication::processEvents();
    const int narrow = f.window->GetOutputSizePixel().width;
    EXPECT_NEAR(f.window->GetSplitter().GetSplitPosition(), 300.0 * narrow / width, 1);
    EXPECT_GE(f.History().GetPosPixel().x + f.History().GetSizePixel().width, narrow - 1);

    f.window->SetSizePixel({900, 600});
    QApplication::processEvents();
    EXPECT_NEAR(f.Tree().GetSizePixel().width, 295, 1);
    EXPECT_NEAR(f.History().GetPosPixel().x, 308, 1);
}

TEST(MainWindow, MinimisedWindowDoesNoLayout)
{
    MainWindowFixture f;
    f.window->SetSizePixel({900, 600});
    QApplication::processEvents();
    Size before = f.Tree().GetSizePixel();
    f.window->Minimize();
    QApplication::processEvents();
    if (!f.window->IsMinimized()) {
        GTEST_SKIP() << "this platform does not minimise windows";
    }
    f.window->GetSplitter().SetSplitPosition(200);
    f.window->Resize();
    EXPECT_EQ(f.Tree().GetSizePixel(), before);
    f.window->Restore();
    QApplication::processEvents();
    f.window->Resize();
    EXPECT_EQ(f.Tree().GetSizePixel().width, 195);
}

TEST(MainWindow, TabPassesTheFocusBetweenTheViews)
{
    MainWindowFixture f;
    QWidget *frame = f.window->FrameWidget();
    frame->activateWindow();
    // The tree view has the focus from the start.
    EXPECT_TRUE(f.Tree().HasFocusHighlight());
    // Neither view holds the focus: Tab does nothing.
    f.window->GrabFocus();
    QTest::keyClick(f.window->Widget(), Qt::Key_Tab);
    EXPECT_FALSE(f.Tree().HasFocusHighlight());
    EXPECT_FALSE(f.History().HasFocusHighlight());

    f.Click(1);
    ASSERT_TRUE(f.Tree().HasFocusHighlight());
    QTest::keyClick(f.Rows(), Qt::Key_Tab);
    EXPECT_TRUE(f.History().HasFocusHighlight());
    EXPECT_FALSE(f.Tree().HasFocusHighlight());
    QTest::keyClick(f.History().GetTitleBar().Widget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(f.Tree().HasFocusHighlight());
    EXPECT_FALSE(f.History().HasFocusHighlight());
}

TEST(MainWindow, DispatchesMenuCommandsById)
{
    MainWindowFixture f;
    ModalScript script;
    // Entry 4 is disabled in the resource: choosing it does nothing.
    EXPECT_EQ(f.menuBar.Select(kMenuItemSetUserContext), 0);
    f.menuBar.EnableItem(kMenuItemSetUserContext, true);
    script.ExpectBox(ModalKind::InfoBox, "Sorry, not yet implemented...", RET_OK);
    EXPECT_EQ(f.menuBar.Select(kMenuItemSetUserContext), 1);
    EXPECT_EQ(script.Steps().back().parent, f.window.get());
    // Nothing else changed: the tree and the counts are as they were.
    EXPECT_EQ(f.TextAt(1), "Admin");
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
}

TEST(MainWindow, ClosingWithNothingMarkedEndsTheEventLoopAtOnce)
{
    TestApplication app;
    MainWindowFixture f;
    ASSERT_EQ(app.GetAppWindow(), f.window.get());
    ModalScript script; // no question expected
    bool timedOut = false;
    QTimer::singleShot(0, [&] { f.menuBar.Select(kMenuItemExit); });
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        app.Quit();
    });
    app.Execute();
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(f.window->IsVisible());
}

TEST(MainWindow, ClosingWithMarksAsksAndNoKeepsTheWindow)
{
    MainWindowFixture f;
    ModalScript script;
    f.DoubleClick(3);                   // open Sales
    f.ItemAt(4)->SetCheckState(Marked); // a mark deep below the top context
    script.ExpectBox(ModalKind::QueryBox, kCloseQuery, RET_NO);
    EXPECT_FALSE(f.window->CmdExit());
    EXPECT_TRUE(f.window->IsVisible());
    EXPECT_EQ(script.Steps().back().parent, f.window.get());

    // The frame's close button asks the same.
    script.ExpectBox(ModalKind::QueryBox, kCloseQuery, RET_YES);
    EXPECT_TRUE(f.window->FrameWidget()->close());
    EXPECT_FALSE(f.window->IsVisible());
}

TEST(MainWindow, MarksOnlyInsideAClosedContainerDoNotAsk)
{
    MainWindowFixture f;
    ModalScript script;
    f.DoubleClick(3); // open Sales
    f.ItemAt(4)->SetCheckState(Marked);
    f.ItemAt(3)->SetCheckState(Marked); // Marked: closes without a question
    f.DoubleClick(3);
    ASSERT_FALSE(f.ItemAt(3)->IsOpen());
    f.ItemAt(3)->SetCheckState(Unmarked);
    EXPECT_TRUE(f.window->CmdExit());
}

TEST(MainWindow, MarkedAloneTopContextAsks)
{
    MainWindowFixture f;
    ModalScript script;
    f.ItemAt(0)->SetCheckState(MarkedAlone);
    script.ExpectBox(ModalKind::QueryBox, kCloseQuery, RET_NO);
    EXPECT_FALSE(f.window->CmdExit());
}

// Tab cannot enter a disabled history view: the user is told why and the tree keeps the keyboard,
// so that the next key does not act on a row the user did not mean.
TEST(MainWindow, TabTowardsDisabledVersionsSaysWhyAndLeavesTheFocusInTheTree)
{
    MainWindowFixture f;
    f.window->FrameWidget()->activateWindow();
    f.ClickBox(3); // Sales Marked
    f.Click(3);
    ASSERT_FALSE(f.History().IsEnabled());
    ASSERT_TRUE(f.Tree().HasFocusHighlight());

    QTest::keyClick(f.Rows(), Qt::Key_Tab);
    EXPECT_TRUE(f.Tree().HasFocusHighlight());
    EXPECT_FALSE(f.History().HasFocusHighlight());
    EXPECT_EQ(f.window->GetStatusBar().GetHelpText(), MainWindow::kVersionsLockedHint);

    f.ClickBox(3); // MarkedAlone: the versions can be chosen and Tab goes there
    ASSERT_TRUE(f.History().IsEnabled());
    QTest::keyClick(f.Rows(), Qt::Key_Tab);
    EXPECT_TRUE(f.History().HasFocusHighlight());
}

TEST(MainWindow, TheStatusBarIsExposedAsAStatusBar)
{
    MainWindowFixture f;
    QAccessibleInterface *bar =
        QAccessible::queryAccessibleInterface(f.window->GetStatusBar().Widget());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::StatusBar);
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0"); // its fields still show
}

// The window comes back as the user left it: its place, its size and the split between the
// views, kept in the window state file when it closed; a damaged file gives the usual window.
TEST(MainWindow, ComesBackWhereAndAsItClosedWithItsSplit)
{
    TempDir folder;
    const std::string path = folder.Path("tarvik/window-state.json");
    WindowMemory::Use(path);
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect left(free.x() + 30, free.y() + 50, free.width() / 2, free.height() / 2);
    {
        MainWindowFixture f;
        EXPECT_LE(f.window->FrameWidget()->width(), free.width()) << "within the screen";
        EXPECT_LE(f.window->FrameWidget()->height(), free.height());
        f.window->FrameWidget()->setGeometry(left);
        QApplication::processEvents();
        f.window->GetSplitter().DragTo(f.window->GetOutputSizePixel().width / 4);
        EXPECT_TRUE(f.window->Close());
    }
    {
        MainWindowFixture f;
        EXPECT_EQ(f.window->FrameWidget()->geometry(), left);
        EXPECT_NEAR(f.window->GetSplitter().GetSplitPosition(),
                    f.window->GetOutputSizePixel().width / 4, 2);
    }
    std::ofstream(path, std::ios::trunc) << "{\"MainWindow\": [30, 50, 400";
    WindowMemory::Use(path);
    {
        MainWindowFixture f;
        EXPECT_NE(f.window->FrameWidget()->geometry(), left);
        EXPECT_NEAR(f.window->GetSplitter().GetSplitPosition(),
                    f.window->GetOutputSizePixel().width * 2 / 3, 1);
    }
    WindowMemory::Use("");
}
