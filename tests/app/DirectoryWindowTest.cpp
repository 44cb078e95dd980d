// The main window over a directory server: the tree shows live and deleted objects (to assistive
// tools too), the history view lists the snapshots' times, the Restore command brings deleted
// objects back, lists every object it wrote and draws them present (checked with ldapsearch), a
// server stopped in the middle of a run makes no line better than it was, a listing the server
// cannot give says why, and snapshot files left out are told at start-up.
#include <QApplication>
#include <QTimer>
#include <QtTest/QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "app/FindDialog.h"
#include "app/MainWindow.h"
#include "model/ObjectItem.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "restore/RestoreOptionsDialog.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "server/directory/LdapServer.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/core/SlapdServer.h"
#include "tests/support/gui/AccessibleEventLog.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/MenuBar.h"
#include "toolkit/ModalDialog.h"
#include "tree/VersionItem.h"

namespace
{
const std::string kEast = "\ndn: ou=East,ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\n"
                          "ou: East\n\n"
                          "dn: cn=Cid,ou=East,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Cid\n"
                          "sn: Brown\n";

// Snapshot 1000 holds everything, snapshot 2000 everything but Bob; then East is deleted.
class DirectoryWindow : public testing::Test
{
  protected:
    DirectoryWindow() : slapd({MarrowbySeed() + kEast, ""}) {}

    void SetUp() override
    {
        ASSERT_TRUE(slapd.Running()) << slapd.Failure();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
        slapd.WriteSnapshot(2000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
        BeforeOpen();

        server = std::make_unique<BackupServer>(std::make_unique<LdapServer>(
            slapd.SocketSettings("DIR1"), [this](const std::string &line) { log += line + "\n"; }));
        ASSERT_EQ(server->Open("DIR1"), 0) << log;
        login = std::make_unique<ServerLogin>(*server);
        client = std::make_unique<ServerClient>(*server);
        ASSERT_EQ(login->LoginCurrent(), 0) << log;
        window =
            std::make_unique<MainWindow>(&menuBar, client.get(), &serverName, login.get(), nullptr);
        menuBar.PushSelectHdl([this](MenuBar &menu) { return window->MenuSelectHdl(menu); });
        window->SetMenuBar(&menuBar);
        window->InitChildren();
        QApplication::processEvents();
    }

    // What a test puts in place before the server opens and the window is made.
    virtual void BeforeOpen() {}

    ObjectItem *ItemAt(int row)
    {
        return static_cast<ObjectItem *>(window->ObjectForest().ItemAt(static_cast<size_t>(row)));
    }
    std::string Row(int row)
    {
        ObjectItem *item = ItemAt(row);
        if (item == nullptr) {
            return "<none>";
        }
        return item->Text() + (item->IsContainer() ? " container" : " leaf") +
               (item->IsPresent() ? "" : " deleted");
    }
    QWidget *Rows() { return window->TreePanel().GetRowArea().Widget(); }
    QPoint RowPoint(int row) { return QPoint(60, row * OutlinePanel::kRowHeight + 10); }
    void Click(int row) { QTest::mouseClick(Rows(), Qt::LeftButton, {}, RowPoint(row)); }
    void DoubleClick(int row)
    {
        Click(row);
        QTest::mouseDClick(Rows(), Qt::LeftButton, {}, RowPoint(row));
    }
    void ClickBox(int row)
    {
        CheckBox *box = window->TreePanel().GetCheckColumn().Box(static_cast<size_t>(row));
        QTest::mouseClick(box->Widget(), Qt::LeftButton);
    }
    static ModalScript::Action ReadLines(std::vector<std::string> &lines)
    {
        return [&lines](ModalDialog &dialog) {
            ListBox *box = dialog.Find<ListBox>(ResId(1));
            for (int i = 0; i < box->GetEntryCount(); ++i) {
                lines.push_back(box->GetEntry(i));
            }
        };
    }
    std::vector<BackupTime> Versions()
    {
        std::vector<BackupTime> times;
        NodeList &versions = window->VersionList();
        for (size_t row = 0; row < versions.TotalCount(); ++row) {
            times.push_back(static_cast<VersionItem *>(versions.ItemAt(row))->Time());
        }
        return times;
    }

    SlapdServer slapd;
    std::string log;
    std::unique_ptr<BackupServer> server;
    std::unique_ptr<ServerClient> client;
    std::unique_ptr<ServerLogin> login;
    std::string serverName = "DIR1";
    InstallResourcesOnce installed; // before the menu is built from them
    MenuBar menuBar{ResId(kMenuMain)};
    std::unique_ptr<MainWindow> window;
};

TEST_F(DirectoryWindow, TreeShowsLiveAndDeletedObjectsUnderTheBase)
{
    EXPECT_EQ(Row(0), "Marrowby container");
    EXPECT_EQ(Row(1), "Sales container");
    EXPECT_EQ(Row(2), "admin leaf");
    DoubleClick(1);
    EXPECT_EQ(Row(2), "Ann leaf");
    EXPECT_EQ(Row(3), "Bob leaf deleted");
    EXPECT_EQ(Row(4), "East container deleted");
    EXPECT_EQ(Row(5), "admin leaf");
    DoubleClick(4);
    EXPECT_EQ(Row(5), "Cid leaf deleted");
}

TEST_F(DirectoryWindow, HistoryViewListsTheSnapshotTimesNewestFirst)
{
    DoubleClick(1);
    Click(2);
    EXPECT_EQ(Versions(), (std::vector<BackupTime>{2000, 1000}));
    Click(3);
    EXPECT_EQ(Versions(), (std::vector<BackupTime>{1000}));
}

TEST_F(DirectoryWindow, RestoringADeletedContainerWithItsSubtreeBringsItBack)
{
    DoubleClick(1);
    DoubleClick(4);
    ClickBox(4); // East, with its subtree
    ASSERT_EQ(ItemAt(4)->GetCheckState(), Marked);
    std::vector<std::string> lines;
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, [&lines](ModalDialog &dialog) {
        ListBox *box = dialog.Find<ListBox>(ResId(1));
        for (int i = 0; i < box->GetEntryCount(); ++i) {
            lines.push_back(box->GetEntry(i));
        }
    });
    menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "East.Sales.Marrowby - with its subtree: 2 objects added, 0 changed"}))
        << log;
    EXPECT_TRUE(slapd.Exists("ou=East,ou=Sales,o=Marrowby"));
    EXPECT_NE(slapd.Search("cn=Cid,ou=East,ou=Sales,o=Marrowby", "base").find("sn: Brown"),
              std::string::npos);
    EXPECT_FALSE(slapd.Exists("cn=Bob,ou=Sales,o=Marrowby"));
    // Drawn present at once, with the loaded subtree; Bob was not restored.
    EXPECT_EQ(Row(3), "Bob leaf deleted");
    EXPECT_EQ(Row(4), "East container");
    EXPECT_EQ(Row(5), "Cid leaf");
}

TEST_F(DirectoryWindow, ParentAddedOnTheWayHasItsOwnLineAndIsDrawnPresent)
{
    DoubleClick(1);
    DoubleClick(4); // East, deleted: its child Cid comes from the snapshots
    ClickBox(5);    // Cid alone
    ModalScript script;
    std::vector<std::string> lines;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1, ReadLines(lines));
    menuBar.Select(kMenuItemRestore);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "East.Sales.Marrowby - added as the parent of Cid.East.Sales.Marrowby",
                         "Cid.East.Sales.Marrowby"}))
        << log;
    EXPECT_TRUE(slapd.Exists("ou=East,ou=Sales,o=Marrowby"));
    EXPECT_EQ(Row(4), "East container");
    EXPECT_EQ(Row(5), "Cid leaf");
    EXPECT_EQ(Row(3), "Bob leaf deleted");
}

// Sales is present: marking it with its subtree writes every object below it back to the
// newest snapshot that holds it (2000, taken after Bob went and before East went).
TEST_F(DirectoryWindow, PresentContainerWithItsSubtreeSaysWhatItOverwritesAndWhatItDid)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
                             "replace: sn\nsn: Married\n"));
    DoubleClick(1);
    ClickBox(1);
    ModalScript script;
    std::string overwritten;
    std::vector<std::string> lines;
    script.ExpectDialog(kDialogRestoreObjects, 1, [&overwritten](ModalDialog &dialog) {
        overwritten = static_cast<RestoreOptionsDialog &>(dialog).OverwrittenText();
    });
    script.ExpectDialog(kDialogRestore, 1, ReadLines(lines));
    menuBar.Select(kMenuItemRestore);
    // Ann is the one present object loaded below Sales (Bob and East are deleted).
    EXPECT_EQ(overwritten, "Marked present containers are restored with their subtrees: 1 "
                           "present object loaded below them will be overwritten with its "
                           "backed-up version.");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Sales.Marrowby - with its subtree: 2 objects added, 1 changed"}))
        << log;
    EXPECT_NE(slapd.Search("cn=Ann,ou=Sales,o=Marrowby", "base").find("sn: Smith"),
              std::string::npos);
    EXPECT_EQ(Row(2), "Ann leaf");
    EXPECT_EQ(Row(3), "Bob leaf deleted"); // the snapshot restored does not hold Bob
    EXPECT_EQ(Row(4), "East container");
}

TEST_F(DirectoryWindow, RowsTellDeletedFromPresentToAssistiveToolsAndInTheirTips)
{
    DoubleClick(1);
    QAccessibleInterface *rows = AccessibleOf(Rows());
    ASSERT_NE(rows, nullptr);
    const struct {
        int row;
        const char *description;
        const char *tip;
    } cases[] = {{1, "", "present"},
                 {2, "", "present"},
                 {3, "deleted", "deleted"},
                 {4, "deleted", "deleted"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(Row(c.row));
        QAccessibleInterface *row = rows->child(c.row);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(QAccessible::Description).toStdString(), c.description);
        EXPECT_EQ(window->TreePanel().GetRowArea().ToolTipText(
                      {RowPoint(c.row).x(), RowPoint(c.row).y()}),
                  c.tip);
    }
    EXPECT_EQ(window->TreePanel().GetRowArea().ToolTipText({60, 20 * 40}), "") << "no row there";
}

// With the server gone, a container that cannot be listed stays closed and the server's reason
// is shown; once the server is back, opening it again lists it.
// slapd is stopped while the run waits for its first reply. Whatever the result list calls
// restored is in the directory when the server is back; every other object is a failure line
// with the server's reason and keeps its mark; the window kept answering while it waited.
TEST_F(DirectoryWindow, ServerStoppedDuringARunReportsNoObjectBetterThanItWas)
{
    DoubleClick(1);
    ClickBox(3); // Bob, deleted
    ClickBox(4); // East, deleted, with its subtree
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    slapd.Freeze();
    QTimer::singleShot(300, [this] { slapd.Stop(); });
    std::vector<std::string> lines;
    {
        ModalScript script;
        script.ExpectDialog(kDialogRestoreObjects, 1); // on error: continue
        script.ExpectDialog(kDialogRestore, 1, ReadLines(lines));
        menuBar.Select(kMenuItemRestore);
    }
    ticker.stop();
    EXPECT_GE(ticks, 10) << "the window did not answer while the run waited";
    ASSERT_EQ(lines.size(), 2u) << log;
    ASSERT_TRUE(slapd.Restart());
    const std::pair<std::string, std::string> objects[] = {
        {"Bob.Sales.Marrowby", "cn=Bob,ou=Sales,o=Marrowby"},
        {"East.Sales.Marrowby", "ou=East,ou=Sales,o=Marrowby"}};
    const std::string failedOn = " - failed on Object '";
    int failures = 0;
    for (int i = 0; i < 2; ++i) {
        const std::string &line = lines[static_cast<size_t>(i)];
        ASSERT_EQ(line.rfind(objects[i].first, 0), 0u) << line;
        if (line.find(failedOn) != std::string::npos) {
            ++failures;
            EXPECT_GT(line.size(), objects[i].first.size() + failedOn.size() + 1) << line;
            EXPECT_EQ(ItemAt(3 + i)->GetCheckState(), Marked) << line;
        } else {
            EXPECT_TRUE(slapd.Exists(objects[i].second)) << line;
        }
    }
    // East's restore goes out after Bob's reply, to a server that is gone.
    EXPECT_GE(failures, 1) << lines[0] << "\n" << lines[1];
}

TEST_F(DirectoryWindow, FailedListingSaysWhyAndTheNextOpenAsksAgain)
{
    slapd.Stop();
    {
        ModalScript script;
        script.ExpectBoxStartingWith(ModalKind::ErrorBox,
                                     "Unable to open container: Sales.Marrowby\n", RET_OK);
        DoubleClick(1);
        ASSERT_EQ(script.Steps().size(), 1u);
        EXPECT_NE(script.Steps()[0].text.find("Can't contact LDAP server"), std::string::npos)
            << script.Steps()[0].text;
        EXPECT_EQ(script.Steps()[0].parent, window.get());
    }
    EXPECT_FALSE(ItemAt(1)->IsOpen());
    EXPECT_EQ(Row(2), "admin leaf"); // nothing of Sales was inserted
    ASSERT_TRUE(slapd.Restart());
    DoubleClick(1);
    EXPECT_TRUE(ItemAt(1)->IsOpen()) << log;
    EXPECT_EQ(Row(2), "Ann leaf");
}

// The newest snapshots were cut short (one inside a value, one inside an attribute's name): the
// window says at once which files were left out and why, and neither is a version of anything.
class DirectoryWindowWithCutSnapshots : public DirectoryWindow
{
  protected:
    void BeforeOpen() override
    {
        const std::string whole = slapd.Slapcat();
        const std::size_t sales = whole.find("dn: ou=Sales");
        ASSERT_NE(sales, std::string::npos);
        salesLine = std::count(whole.begin(), whole.begin() + sales, '\n') + 1;
        cutInValue = slapd.WriteSnapshot(3000, whole.substr(0, whole.find("ou: Sales", sales) + 6));
        cutInName =
            slapd.WriteSnapshot(4000, whole.substr(0, whole.find("objectClass", sales) + 6));
        script = std::make_unique<ModalScript>();
        script->ExpectBoxStartingWith(ModalKind::WarningBox,
                                      "Snapshot " + cutInValue + " left out: ", RET_OK);
    }

    std::string cutInValue;
    std::string cutInName;
    long salesLine = 0;
    std::unique_ptr<ModalScript> script;
};

TEST_F(DirectoryWindowWithCutSnapshots, StartUpListsTheFilesLeftOutOnce)
{
    ASSERT_EQ(script->Steps().size(), 1u);
    const std::string &text = script->Steps()[0].text;
    EXPECT_EQ(text, "Snapshot " + cutInValue +
                        " left out: its last entry (ou=Sales,o=Marrowby) is not followed by an "
                        "empty line: the file may have been cut short\n"
                        "Snapshot " +
                        cutInName + " left out: line " + std::to_string(salesLine) +
                        ": not an attribute line: object");
    EXPECT_EQ(script->Steps()[0].parent, window.get());
    for (int row : {0, 1}) { // both are in the whole part of each cut file
        Click(row);
        EXPECT_EQ(Versions(), (std::vector<BackupTime>{2000, 1000})) << row;
    }
    window->ShowServerNotices(); // said once
    EXPECT_EQ(script->Steps().size(), 1u);
}

// Names that hold a backslash, dots, a blank and a star, in the newest snapshot; two of them
// deleted since.
class DirectoryWindowWithOddNames : public DirectoryWindow
{
  protected:
    void BeforeOpen() override
    {
        ASSERT_TRUE(slapd.Modify(OddNamesLdif()));
        slapd.WriteSnapshot(3000, slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("cn=back\\5Cslash,ou=Sales,o=Marrowby"));
        ASSERT_TRUE(slapd.Delete("cn=v1.2.3,ou=Sales,o=Marrowby"));
    }
};

// A row shows a name as the directory holds it; only the full name escapes what it must, and it
// leads back to the row.
TEST_F(DirectoryWindowWithOddNames, RowsAndFindShowNamesAsTheDirectoryHoldsThem)
{
    DoubleClick(1);
    std::vector<std::string> rows;
    for (int row = 2; ItemAt(row) != nullptr; ++row) {
        rows.push_back(Row(row));
    }
    EXPECT_THAT(rows, testing::IsSupersetOf(
                          {"back\\slash leaf deleted", "v1.2.3 leaf deleted", "Zoë * leaf"}));

    window->CmdFind();
    FindDialog &find = *window->GetFindDialog();
    find.SetPattern("*");
    find.StartSearch();
    for (int pass = 0; pass < 1000 && find.IsSearching(); ++pass) {
        QApplication::processEvents();
    }
    ASSERT_FALSE(find.IsSearching()) << find.StatusText();
    std::map<std::string, std::string> fullNames; // by the name shown
    int versions = -1;
    for (int row = 0; row < find.Results().RowCount(); ++row) {
        const std::string name = find.Results().CellText(row, FindDialog::NameColumn);
        fullNames[name] = find.Results().CellText(row, FindDialog::FullNameColumn);
        versions = name == "v1.2.3" ? row : versions;
    }
    EXPECT_EQ(fullNames["back\\slash"], "back\\\\slash.Sales.Marrowby");
    EXPECT_EQ(fullNames["v1.2.3"], "v1\\.2\\.3.Sales.Marrowby");
    EXPECT_EQ(fullNames["Zoë *"], "Zoë *.Sales.Marrowby");
    ASSERT_GE(versions, 0);
    find.GoToRow(versions);
    ObjectItem *selected = window->TreeReactions().SelectedItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Text(), "v1.2.3");
    EXPECT_EQ(selected->FullName(), "v1\\.2\\.3.Sales.Marrowby");
}
} // namespace
