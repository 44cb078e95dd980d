// The program's only top-level window: the menu bar, the tree view and the history view side by
// side with a splitter between them, and the status bar. It owns the object forest and the
// version list the two views show, lays its children out, passes Tab between the views,
// dispatches the menu commands by id and asks before it closes while objects are marked.
#pragma once

#include <string>

#include "app/TerminationNotice.h"
#include "report/RunJournal.h"
#include "restore/RestoreRun.h"
#include "restore/RestoreRunHost.h"
#include "toolkit/Splitter.h"
#include "toolkit/StatusBar.h"
#include "toolkit/WorkWindow.h"
#include "tree/HistoryView.h"
#include "tree/NodeList.h"
#include "tree/OutlinePanel.h"
#include "tree/TreeView.h"
#include "tree/TreeViewHost.h"

class BackupServer;
class MenuBar;
class MW_SIGTERMClientList;
class ServerLogin;

class MainWindow : public WorkWindow, private TreeViewHost, private RestoreRunHost
{
  public:
    static constexpr uint16_t kCountsField = 1;
    static constexpr uint16_t kUserField = 2;
    static constexpr uint16_t kServerField = 3;
    // At most this many notices are listed in the box; standard error has every one.
    static constexpr std::size_t kNoticesShown = 20;

    MainWindow(MenuBar *menuBar, BackupServer *server, std::string *serverName, ServerLogin *login,
               MW_SIGTERMClientList *connection);
    ~MainWindow() override;

    void InitChildren();
    long MenuSelectHdl(MenuBar &menu);

    void KeyInput(const KeyEvent &event) override;
    void Resize() override;
    bool Close() override;

    bool CmdExit();
    bool CmdSetUserContext();
    bool CmdClearAll() { return tree_.ClearAll(); }
    bool CmdClearSubtree() { return tree_.ClearSubtree(); }
    bool CmdSetTopContext();
    bool RunRestore();
    bool CmdPastRuns();
    bool CmdAbout();
    bool CmdReleaseNotes();

    void SetTopContext(const std::string &name);
    // What the backup server has for the user to hear once (snapshot files it left out, with
    // the reasons), in one box; nothing when there is nothing.
    void ShowServerNotices();
    void UpdateCounts() override;
    MarkCounts CountMarked() override { return tree_.CountMarked(); }

    OutlinePanel &TreePanel() { return treeView_; }
    OutlinePanel &HistoryPanel() { return historyView_; }
    NodeList &ObjectForest() { return objectForest_; }
    NodeList &VersionList() { return versionList_; }
    StatusBar &GetStatusBar() { return statusBar_; }
    Splitter &GetSplitter() { return splitter_; }
    const std::string &TopContext() const { return tree_.TopContext(); }
    TreeView &Tree() { return tree_; }
    HistoryView &History() { return history_; }

  private:
    void EnableClearSubtree(bool enable) override;
    Window *QueryParent() override { return this; }
    Window *DialogParent() override { return this; }
    void AfterRestoreRun() override;
    std::string ServerName() override;
    std::string UserName() override;
    const RunJournal &Journal() override { return journal_; }

    // The lists come before the panels that show them, so they outlive the panels.
    NodeList objectForest_;
    NodeList versionList_;
    OutlinePanel treeView_;
    OutlinePanel historyView_;
    StatusBar statusBar_;
    Splitter splitter_;
    BackupServer *server_;
    std::string *serverName_;
    ServerLogin *login_;
    MW_SIGTERMClientList *connection_;
    MenuBar *menuBar_;
    HistoryView history_;
    TreeView tree_; // holds the top context's name
    RunJournal journal_;
    RestoreRun restoreRun_;
    bool restoring_ = false;
    TerminationNotice notice_; // waits for the end of a restore run
};
