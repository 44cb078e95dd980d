// A main window over the scripted server, with the program's resources and menu, as start-up
// builds it; the tests drive it with real mouse and key events.
#pragma once

#include <QApplication>
#include <QtTest/QTest>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "model/ObjectItem.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "tests/support/core/ScriptedServer.h"
#include "toolkit/CheckBox.h"
#include "toolkit/MenuBar.h"
#include "toolkit/MessageBox.h"

// Default children under "Marrowby": two containers and a leaf.
inline void ScriptSmallTree(ScriptedServer &script)
{
    script.SetChildren("Marrowby", {Container("Sales"), Leaf("Printer"), Container("Admin")});
    script.SetChildren("Sales.Marrowby", {Leaf("Ann"), Leaf("Bob"), Container("East")});
    script.SetChildren("East.Sales.Marrowby", {Leaf("Cid"), Leaf("Dee")});
}

struct InstallResourcesOnce {
    InstallResourcesOnce() { InstallTarvikResources(); }
};

class MainWindowFixture
{
  public:
    // connection: the registry of termination clients the object items join (none by default).
    explicit MainWindowFixture(void (*scriptTree)(ScriptedServer &) = ScriptSmallTree,
                               MW_SIGTERMClientList *connection = nullptr)
        : installed(), server(script), login(server), menuBar(ResId(kMenuMain))
    {
        scriptTree(script);
        window = std::make_unique<MainWindow>(&menuBar, &client, &serverName, &login, connection);
        menuBar.PushSelectHdl([this](MenuBar &menu) { return window->MenuSelectHdl(menu); });
        window->SetMenuBar(&menuBar);
        window->InitChildren();
        QApplication::processEvents();
    }

    OutlinePanel &Tree() { return window->TreePanel(); }
    OutlinePanel &History() { return window->HistoryPanel(); }
    ObjectItem *ItemAt(int row)
    {
        return static_cast<ObjectItem *>(window->ObjectForest().ItemAt(static_cast<size_t>(row)));
    }
    std::string TextAt(int row) { return ItemAt(row) ? ItemAt(row)->Text() : "<none>"; }
    QWidget *Rows() { return Tree().GetRowArea().Widget(); }
    QPoint RowPoint(int row)
    {
        return QPoint(60, (row - Tree().TopRow()) * OutlinePanel::kRowHeight + 10);
    }
    // Each action ends with a pass of the event loop, in which the views catch up as they do after
    // any event in the program.
    void Click(int row)
    {
        QTest::mouseClick(Rows(), Qt::LeftButton, {}, RowPoint(row));
        QApplication::processEvents();
    }
    void DoubleClick(int row)
    {
        Click(row);
        QTest::mouseDClick(Rows(), Qt::LeftButton, {}, RowPoint(row));
        QApplication::processEvents();
    }
    void Key(Qt::Key key)
    {
        QTest::keyClick(Rows(), key);
        QApplication::processEvents();
    }
    // Clicks the tree view's check box of a visible row.
    void ClickBox(int row)
    {
        CheckBox *box = Tree().GetCheckColumn().Box(static_cast<size_t>(row - Tree().TopRow()));
        QTest::mouseClick(box->Widget(), Qt::LeftButton);
        QApplication::processEvents();
    }
    void Menu(uint16_t item)
    {
        menuBar.Select(item);
        QApplication::processEvents();
    }
    std::string Counts()
    {
        QApplication::processEvents();
        return window->GetStatusBar().GetItemText(MainWindow::kCountsField);
    }

    InstallResourcesOnce installed;
    ScriptedServer script;
    BackupServer server;
    ServerClient client{server};
    ServerLogin login;
    std::string serverName = "FS1";
    MenuBar menuBar;
    std::unique_ptr<MainWindow> window;
};
