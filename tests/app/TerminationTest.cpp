// A real termination signal (SIGTERM) to a running window, passed on as the program does (the
// handler writes to a pipe, the event loop reads it): the window stays, the user is told once
// that no further requests go to the backup server, and none do, also for objects made later.
#include <QApplication>
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include "app/RestoreApp.h"
#include "app/RestoreAppHooks.h"
#include "mwlib/MW_Application.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"

namespace
{

// The application object with its termination hooks, as start-up makes them.
class Termination : public testing::Test
{
  protected:
    Termination() : app(serverNames, section, key, unused)
    {
        MW_Application::RunPendingSIGTERM(); // nothing left over from an earlier test
        app.CreateHooks("/opt/tarvik/tarvik");
    }
    ~Termination() override { delete app.Hooks(); }

    // Sends the signal to the process and lets the event loop pass it on.
    static void Signal()
    {
        kill(getpid(), SIGTERM);
        pollfd watch = {MW_Application::SIGTERMNotifyFd(), POLLIN, 0};
        ASSERT_EQ(poll(&watch, 1, 5000), 1);
        QApplication::processEvents();
        QApplication::processEvents(); // the box waits for the next pass
    }

    MW_Cache serverNames;
    MW_String section{"SERVER"};
    MW_String key{"BackupServer"};
    ScriptedServer unused;
    RestoreApp app;
};

// Rows after opening Sales: 0 Marrowby, 1 Admin, 2 Printer, 3 Sales, 4 Ann, 5 Bob, 6 East.
TEST_F(Termination, SignalIsSaidOnceAndNoFurtherRequestIsMade)
{
    MainWindowFixture f(ScriptSmallTree, app.Hooks());
    f.script.SetHistory("Ann.Sales.Marrowby", {100, 200});
    f.DoubleClick(3);
    f.ClickBox(5); // Bob
    f.script.ClearLog();
    {
        ModalScript script;
        script.ExpectBox(ModalKind::WarningBox, TerminationNotice::kText, RET_OK);
        Signal();
        EXPECT_EQ(script.Pending(), 0u);
        ASSERT_FALSE(script.Steps().empty());
        EXPECT_EQ(script.Steps()[0].parent, f.window.get());
    }

    // Nothing more is said, but by the restore run. East is not listed and stays closed; Ann's
    // history is not asked for.
    ModalScript script;
    f.DoubleClick(6);
    EXPECT_FALSE(f.ItemAt(6)->IsOpen());
    f.Click(4);
    EXPECT_EQ(f.window->VersionList().TotalCount(), 0u);

    std::vector<std::string> lines;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, [&lines](ModalDialog &dialog) {
        ListBox *box = dialog.Find<ListBox>(ResId(1));
        for (int i = 0; i < box->GetEntryCount(); ++i) {
            lines.push_back(box->GetEntry(i));
        }
    });
    f.menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Bob.Sales.Marrowby - not tried: the program is ending"}));
    EXPECT_EQ(f.ItemAt(5)->GetCheckState(), Marked);

    // A new top context is made after the signal: it is told at once, and asks nothing.
    f.window->SetTopContext("Sales.Marrowby");
    EXPECT_TRUE(f.ItemAt(0)->IsInformed());
    EXPECT_FALSE(f.ItemAt(0)->IsOpen());
    QApplication::processEvents();

    EXPECT_EQ(f.script.RequestCount(), 0u);
    EXPECT_TRUE(f.window->Widget()->isVisible()); // the program does not end on the signal
}

// The signal came before the window was made (during the login, say): the window's first
// objects ask nothing, and the window says why as soon as it is up.
TEST_F(Termination, WindowMadeAfterTheSignalSaysItAndAsksNothing)
{
    kill(getpid(), SIGTERM);
    pollfd watch = {MW_Application::SIGTERMNotifyFd(), POLLIN, 0};
    ASSERT_EQ(poll(&watch, 1, 5000), 1);
    QApplication::processEvents();
    ASSERT_TRUE(app.Hooks()->HasInformedClients());

    ModalScript script;
    script.ExpectBox(ModalKind::WarningBox, TerminationNotice::kText, RET_OK);
    MainWindowFixture f(ScriptSmallTree, app.Hooks());
    QApplication::processEvents();
    EXPECT_EQ(f.script.RequestCount(), 0u);
    EXPECT_FALSE(f.ItemAt(0)->IsOpen());
    EXPECT_EQ(app.Hooks()->RegisteredCount(), 0u);
}

} // namespace
