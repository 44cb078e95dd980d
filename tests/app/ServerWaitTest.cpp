// The window while the server works on the worker thread: it goes on answering, a progress
// window comes once the wait lasts, Stop (or Escape) gives the request up at once (while the
// server still holds it) and leaves the container closed with nothing inserted, commands that
// change the tree wait (saying so in the status bar, their menu entries disabled meanwhile), and
// the termination news ends a listing without a further request. The
// test acts from inside the server's request, through calls posted to the program's thread, so
// nothing depends on how long anything takes.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "app/BusyCommands.h"
#include "mwlib/MW_SIGTERMClientList.h"
#include "session/ServerSession.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/core/RequestGate.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/EventWait.h"
#include "toolkit/ProgressWindow.h"

namespace
{

void OnHome(std::function<void()> call)
{
    QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
}

// The first listing of Sales is held in the server, which never lets it go on its own (not even
// when asked to abandon it), and `meanwhile` runs on the program's thread as it waits.
class HeldSalesListing
{
  public:
    HeldSalesListing(MainWindowFixture &f, std::function<void()> meanwhile, bool abandons = false)
        : script_(f.script)
    {
        f.script.OnRequest([this, &f, meanwhile, abandons](const LoggedRequest &request) {
            if (request.type != ListChildren || request.name != "Sales.Marrowby" ||
                held_.exchange(true)) {
                return;
            }
            OnHome(meanwhile);
            gate_.Hold([&f, abandons] { return abandons && f.script.AbandonAsked(); });
        });
    }
    // The hook goes first, so that no later request comes to what is gone.
    ~HeldSalesListing() { script_.OnRequest({}); }
    bool StillHeld() { return gate_.WaitUntilHeld(); }
    void Release() { gate_.Release(); }

  private:
    ScriptedServer &script_;
    RequestGate gate_;
    std::atomic<bool> held_{false};
};

// Once the wait has lasted, the progress window shows; a test waits for it as a user would.
const ProgressWindow &ShownProgress(ServerSession &session)
{
    EventWait::Until(
        [&session] { return session.Progress() != nullptr && session.Progress()->IsVisible(); });
    return *session.Progress();
}

// Rows: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales.
TEST(ServerWait, WindowAnswersDuringAListingAndStopLeavesTheContainerClosed)
{
    MainWindowFixture f;
    ServerSession &session = f.window->Session();
    bool busyMeanwhile = false;
    bool markRefused = false;
    std::string text;
    HeldSalesListing held(f, [&] {
        busyMeanwhile = session.Busy();
        f.ClickBox(2); // Printer: a mark would change the tree under the listing
        markRefused = f.ItemAt(2)->GetCheckState() == Unmarked;
        const ProgressWindow &progress = ShownProgress(session);
        text = progress.Text();
        QTest::mouseClick(progress.StopButton(), Qt::LeftButton);
    });
    f.DoubleClick(3);

    EXPECT_TRUE(busyMeanwhile);
    EXPECT_TRUE(markRefused);
    EXPECT_EQ(text, "Listing Sales.Marrowby");
    EXPECT_TRUE(held.StillHeld()); // given up at once, not when the server let it go
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
    EXPECT_FALSE(session.Busy());
    EXPECT_FALSE(session.Progress()->IsVisible());

    // Opened again, it asks again (after the listing given up) and opens whole.
    held.Release();
    f.DoubleClick(3);
    EXPECT_TRUE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.TextAt(4), "Ann");
}

TEST(ServerWait, EscapeInTheProgressWindowStopsAsStopDoes)
{
    MainWindowFixture f;
    ServerSession &session = f.window->Session();
    HeldSalesListing held(f, [&] {
        QTest::keyClick(static_cast<QWidget *>(ShownProgress(session).Widget()), Qt::Key_Escape);
    });
    f.DoubleClick(3);
    EXPECT_TRUE(held.StillHeld());
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
}

TEST(ServerWait, TerminationDuringAListingEndsItWithoutAFurtherRequest)
{
    MW_SIGTERMClientList registry;
    MainWindowFixture f(ScriptSmallTree, &registry);
    HeldSalesListing held(
        f, [&] { registry.Inform(); }, true);
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

std::string HelpText(MainWindowFixture &f)
{
    return f.window->GetStatusBar().GetHelpText();
}

// Each act the server's work turns away, done while Sales is listed: what the status bar says
// then, and that the act changed nothing.
TEST(ServerWait, ActsTurnedAwayDuringAListingSaySoAndChangeNothing)
{
    const std::string turnedAway = BusyCommands::TurnedAwayText("Listing Sales.Marrowby");
    struct Act {
        const char *what;
        std::function<void(MainWindowFixture &)> act;
    };
    const std::vector<Act> acts = {
        {"a mark clicked", [](MainWindowFixture &f) { f.ClickBox(2); }},
        {"Return on Admin",
         [](MainWindowFixture &f) {
             f.Key(Qt::Key_Up); // Printer
             f.Key(Qt::Key_Up); // Admin
             f.Key(Qt::Key_Return);
         }},
        {"the window closed", [](MainWindowFixture &f) { EXPECT_FALSE(f.window->Close()); }},
    };
    MainWindowFixture f;
    std::vector<std::string> said;
    HeldSalesListing held(f, [&] {
        for (const Act &act : acts) {
            f.window->GetStatusBar().ShowHelpText("");
            act.act(f);
            said.push_back(HelpText(f));
        }
        held.Release();
    });
    f.DoubleClick(3);

    ASSERT_EQ(said.size(), acts.size());
    for (std::size_t i = 0; i < acts.size(); ++i) {
        EXPECT_EQ(said[i], turnedAway) << acts[i].what;
    }
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Unmarked);
    EXPECT_FALSE(f.ItemAt(1)->IsOpen());
    for (const LoggedRequest &request : f.script.RequestsOf(ListChildren)) {
        EXPECT_NE(request.name, "Admin.Marrowby");
    }
    EXPECT_TRUE(f.window->IsVisible());
    // The listing went on to its end, and the word, true no longer, went with it.
    EXPECT_TRUE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(HelpText(f), "");
}

// The entries a user may not choose while the server works look so, and come back as they were:
// Find stays disabled on a server that cannot search.
TEST(ServerWait, MenuEntriesThatWaitAreDisabledWhileTheServerWorks)
{
    MainWindowFixture f([](ScriptedServer &script) {
        ScriptSmallTree(script);
        script.SetCannotSearch(true);
    });
    const std::vector<uint16_t> waiting = {
        kMenuItemExit,     kMenuItemSetTopContext, kMenuItemSetUserContext,
        kMenuItemClearAll, kMenuItemRestore,       kMenuItemFind,
    };
    // These follow the selection, which the listing moves: only their state meanwhile is known.
    const std::vector<uint16_t> followingSelection = {kMenuItemClearSubtree, kMenuItemCompare};
    const std::vector<uint16_t> showing = {kMenuItemAbout, kMenuItemReleaseNotes,
                                           kMenuItemPastRuns};
    std::map<uint16_t, bool> before;
    for (uint16_t id : waiting) {
        before[id] = f.menuBar.IsItemEnabled(id);
    }
    ASSERT_FALSE(before[kMenuItemFind]);
    ASSERT_TRUE(before[kMenuItemRestore]);
    std::map<uint16_t, bool> meanwhile;
    HeldSalesListing held(f, [&] {
        for (uint16_t id : waiting) {
            meanwhile[id] = f.menuBar.IsItemEnabled(id);
        }
        for (uint16_t id : followingSelection) {
            meanwhile[id] = f.menuBar.IsItemEnabled(id);
        }
        for (uint16_t id : showing) {
            meanwhile[id] = f.menuBar.IsItemEnabled(id);
        }
        held.Release();
    });
    f.DoubleClick(3);
    ASSERT_TRUE(f.ItemAt(3)->IsOpen());

    for (uint16_t id : waiting) {
        EXPECT_FALSE(meanwhile[id]) << f.menuBar.GetItemText(id);
        EXPECT_EQ(f.menuBar.IsItemEnabled(id), before[id]) << f.menuBar.GetItemText(id);
    }
    for (uint16_t id : followingSelection) {
        EXPECT_FALSE(meanwhile[id]) << f.menuBar.GetItemText(id);
    }
    for (uint16_t id : showing) {
        EXPECT_TRUE(meanwhile[id]) << f.menuBar.GetItemText(id);
    }
}

} // namespace
