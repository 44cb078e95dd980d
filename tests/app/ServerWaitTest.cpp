// The window while the server works on the worker thread: it goes on answering (its timers
// fire), a progress window comes after half a second, Stop (or Escape) gives the request up at
// once and leaves the container closed with nothing inserted, commands that change the tree
// wait, and the termination news ends a listing without a further request.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "mwlib/MW_SIGTERMClientList.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/core/RequestGate.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/ProgressWindow.h"
#include "tree/ServerTasks.h"

namespace
{

// Holds the listing of Sales in the server until the test lets it go or the worker gives it up.
void HoldSalesListing(MainWindowFixture &f, RequestGate &gate)
{
    f.script.OnRequest([&f, &gate](const LoggedRequest &request) {
        if (request.type == ListChildren && request.name == "Sales.Marrowby") {
            gate.Hold([&f] { return f.script.AbandonAsked(); });
        }
    });
}

// Rows: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales.
TEST(ServerWait, WindowAnswersDuringAListingAndStopLeavesTheContainerClosed)
{
    RequestGate gate; // before the window: its worker may still be leaving the gate when it ends
    MainWindowFixture f;
    HoldSalesListing(f, gate);
    ServerTasks &tasks = f.window->Tasks();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    bool busyMeanwhile = false;
    bool markRefused = false;
    bool shownBeforeDelay = true;
    std::string text;
    QElapsedTimer stopClock;
    QTimer::singleShot(200, [&] {
        busyMeanwhile = tasks.Busy();
        shownBeforeDelay = tasks.Progress() != nullptr && tasks.Progress()->IsVisible();
        f.ClickBox(2); // Printer: a mark would change the tree under the listing
        markRefused = f.ItemAt(2)->GetCheckState() == Unmarked;
    });
    QTimer::singleShot(800, [&] {
        ASSERT_NE(tasks.Progress(), nullptr);
        ASSERT_TRUE(tasks.Progress()->IsVisible());
        text = tasks.Progress()->Text();
        stopClock.start();
        QTest::mouseClick(tasks.Progress()->StopButton(), Qt::LeftButton);
    });
    f.DoubleClick(3);
    const qint64 stopTook = stopClock.elapsed();
    ticker.stop();

    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(shownBeforeDelay);
    EXPECT_TRUE(markRefused);
    EXPECT_EQ(text, "Listing Sales.Marrowby");
    EXPECT_GT(ticks, 40);      // about 80 in 800 ms: the window never stood still
    EXPECT_LT(stopTook, 1000); // given up at once, not at the end of a time-out
    EXPECT_FALSE(gate.HeldCount() == 0);
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
    EXPECT_FALSE(tasks.Busy());
    EXPECT_FALSE(tasks.Progress()->IsVisible());

    // Opened again, it asks again and opens whole.
    f.script.OnRequest({});
    f.DoubleClick(3);
    EXPECT_TRUE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.TextAt(4), "Ann");
}

TEST(ServerWait, EscapeInTheProgressWindowStopsAsStopDoes)
{
    RequestGate gate; // before the window: its worker may still be leaving the gate when it ends
    MainWindowFixture f;
    HoldSalesListing(f, gate);
    ServerTasks &tasks = f.window->Tasks();
    QTimer::singleShot(700, [&] {
        ASSERT_NE(tasks.Progress(), nullptr);
        QTest::keyClick(static_cast<QWidget *>(tasks.Progress()->Widget()), Qt::Key_Escape);
    });
    f.DoubleClick(3);
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
}

TEST(ServerWait, TerminationDuringAListingEndsItWithoutAFurtherRequest)
{
    MW_SIGTERMClientList registry;
    RequestGate gate; // before the window: its worker may still be leaving the gate when it ends
    MainWindowFixture f(ScriptSmallTree, &registry);
    HoldSalesListing(f, gate);
    QTimer::singleShot(100, [&] { registry.Inform(); });
    ModalScript script;
    script.ExpectBox(ModalKind::WarningBox, TerminationNotice::kText, RET_OK);
    f.DoubleClick(3);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
    EXPECT_EQ(f.script.RequestsOf(ListChildren).back().name, "Sales.Marrowby");
    EXPECT_EQ(f.script.RequestsOf(ListChildren).back().lastId, 0); // its first request only
}

} // namespace
