// The program's only top-level window: the menu bar, the tree view and the history view side by
// side with a splitter between them, and the status bar. It owns the object forest and the
// version list the two views show, lays its children out, passes Tab between the views,
// dispatches the menu commands by id and asks before it closes while objects are marked.
#pragma once

#include <memory>
#include <string>

#include "app/BusyCommands.h"
#include "app/CountsField.h"
#include "app/FindDialogHost.h"
#include "app/TerminationNotice.h"
#include "model/NodeList.h"
#include "model/RestoreSelection.h"
#include "report/RunJournal.h"
#include "restore/RestoreRun.h"
#include "restore/RestoreRunHost.h"
#include "session/ServerSession.h"
#include "toolkit/Splitter.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"
#include "toolkit/WorkWindow.h"
#include "tree/HistoryViewReactions.h"
#include "tree/OutlinePanel.h"
#include "tree/TreeViewReactions.h"
#include "tree/TreeViewReactionsHost.h"

class FindDialog;
class MenuBar;
class MW_SIGTERMClientList;
class ServerClient;
class ServerLogin;

class MainWindow : public WorkWindow,
                   private TreeViewReactionsHost,
                   private RestoreRunHost,
                   private FindDialogHost
{
  public:
    static constexpr uint16_t kCountsField = 1;
    static constexpr uint16_t kUserField = 2;
    static constexpr uint16_t kServerField = 3;
    // At most this many notices are listed in the box; standard error has every one.
    static constexpr std::size_t kNoticesShown = 20;
    static constexpr const char *kVersionsLockedHint =
        "The versions of a ticked container cannot be chosen.";
    static constexpr int kHintMilliseconds = 5000; // a hint stands in the status bar this long
    static constexpr const char *kMarksQuery =
        "Items are still selected to be restored.\nAre you sure?";
    // Where the window's place and the tree view's share of its width (in thousandths) are kept
    // between runs.
    static constexpr const char *kPlaceKey = "MainWindow";
    static constexpr const char *kSplitKey = "MainWindow.split";

    MainWindow(MenuBar *menuBar, ServerClient *client, std::string *serverName, ServerLogin *login,
               MW_SIGTERMClientList *connection);
    ~MainWindow() override;

    void InitChildren();
    long MenuSelectHdl(MenuBar &menu);

    void KeyInput(const KeyEvent &event) override;
    void Resize() override;
    bool Close() override;

    bool CmdExit();
    bool CmdSetUserContext();
    bool CmdClearAll() { return treeReactions_.ClearAll(); }
    bool CmdClearSubtree() { return treeReactions_.ClearSubtree(); }
    bool CmdSetTopContext();
    bool CmdFind();
    bool RunRestore();
    // The selected object at the version a run would restore beside its live entry.
    bool CmdCompareWithLive();
    bool CmdPastRuns();
    bool CmdAbout();
    bool CmdReleaseNotes();

    void SetTopContext(const std::string &name);
    // What the backup server has for the user to hear once (snapshot files it left out, with
    // the reasons), in one box; nothing when there is nothing.
    void ShowServerNotices();
    void UpdateCounts() { counts_.Update(); }

    OutlinePanel &TreePanel() { return treePanel_; }
    OutlinePanel &HistoryPanel() { return historyPanel_; }
    NodeList &ObjectForest() { return objectForest_; }
    NodeList &VersionList() { return versionList_; }
    RestoreSelection &Selection() { return selection_; }
    StatusBar &GetStatusBar() { return statusBar_; }
    Splitter &GetSplitter() { return splitter_; }
    const std::string &TopContext() const { return treeReactions_.TopContext(); }
    TreeViewReactions &TreeReactions() { return treeReactions_; }
    // The way to the server: requests run on its worker while the window goes on.
    ServerSession &Session() override { return session_; }
    // The Find dialog once the command has made it; null before.
    FindDialog *GetFindDialog() { return findDialog_.get(); }

  private:
    void EnableClearSubtree(bool enable) override;
    void ShowTopContextName(const std::string &name);
    void AskWhatTheServerOffers();
    void EnableCompare(bool enable);
    Window *QueryParent() override { return this; }
    Window *DialogParent() override { return this; }
    void AfterRestoreRun() override;
    ServerClient *SearchClient() override { return client_; }
    bool RestoreUnderWay() const override { return restoring_; }
    std::string SearchContext() const override { return TopContext(); }
    bool GoToObject(const std::string &fullName) override;
    std::optional<Rectangle> SelectedRowOnScreen() override;
    void SearchUnsupported() override;
    bool CanCompare() override;
    std::string ServerName() override;
    std::string UserName() override;
    const RunJournal &Journal() override { return journal_; }
    // Whether the server can describe objects (asked once, on the worker).
    bool ServerDescribes();
    // Asks before an action that drops every mark; true when nothing is marked or on Yes.
    bool MayDropMarks();
    // A word on why a key did nothing, in the status bar's help field for a while; empty: the
    // word goes.
    void ShowHint(const std::string &text);
    void LayOut();        // the children for the present size and split position
    void KeepTreeShare(); // after the split position was set: the tree view's share of the width

    // The lists come before the panels that show them, so they outlive the panels.
    NodeList objectForest_;
    NodeList versionList_;
    RestoreSelection selection_{objectForest_};
    OutlinePanel treePanel_;
    OutlinePanel historyPanel_;
    StatusBar statusBar_;
    CountsField counts_{objectForest_, selection_, statusBar_, kCountsField};
    Splitter splitter_;
    ServerClient *client_;
    std::string *serverName_;
    ServerLogin *login_;
    MW_SIGTERMClientList *connection_;
    MenuBar *menuBar_;
    ServerSession session_; // before the reactions that use it, after the client it drives
    HistoryViewReactions historyReactions_;
    TreeViewReactions treeReactions_; // holds the top context's name
    RunJournal journal_;
    RestoreRun restoreRun_;
    bool restoring_ = false;
    TerminationNotice notice_; // waits for the end of a restore run
    std::unique_ptr<FindDialog> findDialog_;
    Timer hintTimer_;
    BusyCommands busyCommands_; // after the session it watches and the hint it shows
    double treeShare_ = 0;      // of the width, as the user last split it
    int laidOutWidth_ = 0;
};
