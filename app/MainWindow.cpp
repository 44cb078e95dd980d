#include "app/MainWindow.h"

#include <algorithm>
#include <cmath>

#include "app/AboutDialog.h"
#include "app/FindDialog.h"
#include "app/MainWindowLayout.h"
#include "app/ReleaseNotesDialog.h"
#include "app/SetTopContextDialog.h"
#include "model/ObjectItem.h"
#include "res/ResourceIds.h"
#include "restore/CompareDialog.h"
#include "restore/PastRunsDialog.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "toolkit/MenuBar.h"
#include "toolkit/MessageBox.h"
#include "toolkit/WindowMemory.h"
#include "tree/ObjectPictures.h"

MainWindow::MainWindow(MenuBar *menuBar, ServerClient *client, std::string *serverName,
                       ServerLogin *login, MW_SIGTERMClientList *connection)
    : WorkWindow(nullptr), treePanel_(this, true, CheckMode::ThreeState, &objectForest_),
      historyPanel_(this, true, CheckMode::Plain, &versionList_), statusBar_(this), splitter_(this),
      client_(client), serverName_(serverName), login_(login), connection_(connection),
      menuBar_(menuBar), session_(client, connection, [this] { return this; }),
      historyReactions_(historyPanel_, versionList_, selection_, session_),
      treeReactions_(treePanel_, objectForest_, selection_, historyReactions_, *this, session_),
      journal_(RunJournal::DefaultPath()), restoreRun_(selection_, *this),
      notice_(
          connection, [this] { return restoring_ || session_.Busy(); }, [this] { return this; },
          [this](std::function<void()> call) {
              if (session_.Busy()) {
                  session_.WhenIdle(std::move(call)); // a run shows it itself at its end
              }
          }),
      busyCommands_(menuBar, session_, statusBar_,
                    [this](const std::string &text) { ShowHint(text); })
{
    treePanel_.Hide();
    historyPanel_.Hide();
    statusBar_.Hide();
    splitter_.Hide();
    ShowTopContextName(login_ != nullptr ? login_->Context() : "");
    SetHelpTextHdl([this](const std::string &text) { statusBar_.ShowHelpText(text); });
    hintTimer_.SetTimeout(kHintMilliseconds);
    hintTimer_.SetTimeoutHdl([this](Timer &) {
        statusBar_.ShowHelpText("");
        return 1L;
    });
    OpenPlaced(kPlaceKey, {1000, 640});
    Show();
}

// The Find dialog goes first: it may still be searching through the client.
MainWindow::~MainWindow()
{
    findDialog_.reset();
}

void MainWindow::InitChildren()
{
    SetBackground(Color(COL_WORKSPACE));
    splitter_.SetSplitHdl([this](Splitter &) {
        KeepTreeShare();
        LayOut();
        return 1L;
    });
    const std::optional<std::vector<int>> share = WindowMemory::Recall(kSplitKey);
    const int width = GetOutputSizePixel().width;
    splitter_.SetSplitPosition(share && share->size() == 1
                                   ? std::clamp(share->front(), 0, 1000) * width / 1000
                                   : width * 2 / 3);
    KeepTreeShare();
    splitter_.Show();

    treePanel_.ShowPanel();
    treePanel_.SetTitle("TARVIK Tree View");
    treePanel_.SetSelectHdl(
        [this](OutlinePanel &panel) { return treeReactions_.SelectHdl(panel); });
    treePanel_.SetActivateHdl(
        [this](OutlinePanel &panel) { return treeReactions_.OpenHdl(panel); });
    treePanel_.SetCheckHdl([this](OutlinePanel &panel, const CheckClick &click) {
        return treeReactions_.CheckHdl(panel, click);
    });
    treePanel_.SetPictureHdl(ObjectPictures::Of);
    historyPanel_.ShowPanel();
    historyPanel_.SetTitle("Object History");
    historyPanel_.SetCheckHdl([this](OutlinePanel &panel, const CheckClick &click) {
        return historyReactions_.CheckHdl(panel, click);
    });
    Resize();
    SetTopContext(login_ ? login_->Context() : "");

    statusBar_.InsertItem(kCountsField, 200, SIB_LEFT, 5);
    statusBar_.InsertItem(kUserField, 400, SIB_LEFT, 5);
    statusBar_.InsertItem(kServerField, 80, SIB_LEFT, 5);
    UpdateCounts();
    statusBar_.SetItemText(kUserField, UserName());
    statusBar_.SetItemText(kServerField, ServerName());
    statusBar_.Show();
    Resize();
    // The tree view has the keyboard from the start, so the program can be used without a mouse.
    treePanel_.GetRowArea().GrabFocus();
    AskWhatTheServerOffers();
    ShowServerNotices();
}

// The commands the server cannot serve are disabled before they are first chosen. A program that
// is ending asks the server nothing more, and offers neither.
void MainWindow::AskWhatTheServerOffers()
{
    const ObjectItem *top = treeReactions_.TopItem();
    std::optional<std::pair<bool, bool>> offers;
    if (client_ != nullptr && (top == nullptr || !top->IsInformed())) {
        offers = session_.Run<std::pair<bool, bool>>(
            "Asking the backup server what it offers", [](ServerClient &client, WorkerJob &) {
                return std::pair{client.CanSearch(), client.CanDescribe()};
            });
    }
    if (!offers || !offers->first) {
        SearchUnsupported();
    }
    EnableCompare(offers && offers->second);
}

void MainWindow::ShowServerNotices()
{
    const std::vector<std::string> notices =
        session_
            .Run<std::vector<std::string>>(
                "Reading the backup server's notices",
                [](ServerClient &client, WorkerJob &) { return client.TakeNotices(); })
            .value_or(std::vector<std::string>{});
    if (notices.empty()) {
        return;
    }
    std::string text;
    for (std::size_t i = 0; i < notices.size() && i < kNoticesShown; ++i) {
        text += (i > 0 ? "\n" : "") + notices[i];
    }
    if (notices.size() > kNoticesShown) {
        text += "\n... and " + std::to_string(notices.size() - kNoticesShown) +
                " more, listed on standard error.";
    }
    WarningBox(this, WB_OK, text).Execute();
}

// A new width keeps the tree view's share of it, so that a window shrunk to almost nothing and
// enlarged again gets its panes back as they were.
void MainWindow::Resize()
{
    if (IsMinimized()) {
        return;
    }
    const int width = GetOutputSizePixel().width;
    if (width != laidOutWidth_ && laidOutWidth_ > 0 && treeShare_ > 0) {
        splitter_.SetSplitPosition(std::lround(treeShare_ * width));
    }
    laidOutWidth_ = width;
    LayOut();
}

void MainWindow::KeepTreeShare()
{
    const int width = GetOutputSizePixel().width;
    if (width > 0) {
        treeShare_ = static_cast<double>(splitter_.GetSplitPosition()) / width;
    }
}

void MainWindow::LayOut()
{
    if (IsMinimized()) {
        return;
    }
    MainWindowLayout layout =
        MainWindowLayout::Compute(GetOutputSizePixel(), splitter_.GetSplitPosition());
    statusBar_.SetPosSizePixel(layout.statusBarPos, layout.statusBarSize);
    splitter_.SetSizePixel(layout.splitterSize);
    splitter_.SetDragRectPixel(layout.dragRect);
    if (layout.splitPositionPulled) {
        splitter_.SetSplitPosition(layout.splitPosition);
    }
    splitter_.SetPosPixel(layout.splitterPos);
    treePanel_.SetPosSizePixel(layout.treePos, layout.treeSize);
    historyPanel_.SetPosSizePixel(layout.historyPos, layout.historySize);
    historyPanel_.Invalidate();
}

void MainWindow::KeyInput(const KeyEvent &event)
{
    if (event.GetCode() != KEY_TAB) {
        WorkWindow::KeyInput(event);
        return;
    }
    if (treePanel_.HasFocusHighlight()) {
        if (!historyPanel_.IsEnabled()) {
            // Otherwise the next key would act on the tree while the user means a version.
            ShowHint(kVersionsLockedHint);
            return;
        }
        historyPanel_.GetTitleBar().GrabFocus();
    } else if (historyPanel_.HasFocusHighlight()) {
        treePanel_.GetTitleBar().GrabFocus();
    }
}

void MainWindow::ShowHint(const std::string &text)
{
    statusBar_.ShowHelpText(text);
    if (text.empty()) {
        hintTimer_.Stop();
    } else {
        hintTimer_.Start();
    }
}

void MainWindow::SetTopContext(const std::string &name)
{
    treeReactions_.SetTopContext(name, client_, connection_);
    ShowTopContextName(name);
}

// The title and the status bar name the context the tree is rooted at, not a fixed one.
void MainWindow::ShowTopContextName(const std::string &name)
{
    SetText(name.empty() ? "TARVIK" : name + " - TARVIK");
    statusBar_.SetText(name);
}

void MainWindow::EnableClearSubtree(bool enable)
{
    busyCommands_.Enable(kMenuItemClearSubtree, enable);
    // Follows the selection too, in case the server's answer came late.
    EnableCompare(ServerDescribes());
}

void MainWindow::EnableCompare(bool enable)
{
    busyCommands_.Enable(kMenuItemCompare, enable);
}

bool MainWindow::MayDropMarks()
{
    return !selection_.HasMarks() || QueryBox(this, WB_YES_NO, kMarksQuery).Execute() == RET_YES;
}

bool MainWindow::Close()
{
    // The window stays while the server is at work for it; Stop ends the work first.
    if (session_.TurnsAway() || !MayDropMarks()) {
        return false;
    }
    WindowMemory::Keep(kSplitKey, {static_cast<int>(std::lround(treeShare_ * 1000))});
    return WorkWindow::Close();
}

long MainWindow::MenuSelectHdl(MenuBar &menu)
{
    const uint16_t command = menu.GetCurItemId();
    // While the server is at work only what changes nothing can be chosen (the entries look
    // disabled; a key may still reach here).
    if (BusyCommands::Waits(command) && session_.TurnsAway()) {
        return 0;
    }
    switch (command) {
    case kMenuItemExit:
        return CmdExit();
    case kMenuItemSetUserContext:
        return CmdSetUserContext();
    case kMenuItemSetTopContext:
        return CmdSetTopContext();
    case kMenuItemClearAll:
        return CmdClearAll();
    case kMenuItemClearSubtree:
        return CmdClearSubtree();
    case kMenuItemFind:
        return CmdFind();
    case kMenuItemRestore:
        return RunRestore();
    case kMenuItemCompare:
        return CmdCompareWithLive();
    case kMenuItemPastRuns:
        return CmdPastRuns();
    case kMenuItemAbout:
        return CmdAbout();
    case kMenuItemReleaseNotes:
        return CmdReleaseNotes();
    default:
        return 0;
    }
}

bool MainWindow::CmdExit()
{
    return Close();
}

bool MainWindow::CmdSetUserContext()
{
    InfoBox(this, "Sorry, not yet implemented...").Execute();
    return true;
}

bool MainWindow::CmdSetTopContext()
{
    SetTopContextDialog dialog(this);
    dialog.SetContext(TopContext());
    if (dialog.Execute() != 1) {
        return true;
    }
    const std::string context = dialog.GetContext();
    // Re-rooting drops every mark: an unchanged name keeps them, another one asks first.
    if (selection_.HasMarks() && (context == TopContext() || !MayDropMarks())) {
        return true;
    }
    SetTopContext(context);
    return true;
}

bool MainWindow::CmdFind()
{
    if (!findDialog_) {
        findDialog_ = std::make_unique<FindDialog>(this, static_cast<FindDialogHost &>(*this));
    }
    findDialog_->Present();
    return true;
}

bool MainWindow::GoToObject(const std::string &fullName)
{
    if (!treeReactions_.GoTo(fullName)) {
        return false;
    }
    treePanel_.GetRowArea().GrabFocus(); // so that the object can be marked at once
    return true;
}

std::optional<Rectangle> MainWindow::SelectedRowOnScreen()
{
    RowArea &rows = treePanel_.GetRowArea();
    const Rectangle row = rows.AccessibleRowRect(rows.SelectedRow());
    const Point origin = rows.ScreenPos();
    return Rectangle{row.left + origin.x, row.top + origin.y, row.right + origin.x,
                     row.bottom + origin.y};
}

void MainWindow::SearchUnsupported()
{
    busyCommands_.Enable(kMenuItemFind, false);
}

bool MainWindow::CmdPastRuns()
{
    PastRunsDialog::ShowJournal(this, journal_);
    return true;
}

bool MainWindow::CmdAbout()
{
    AboutDialog(this).Execute();
    return true;
}

bool MainWindow::CmdReleaseNotes()
{
    ReleaseNotesDialog(this).Execute();
    return true;
}

bool MainWindow::RunRestore()
{
    restoring_ = true;
    restoreRun_.RunRestore();
    restoring_ = false;
    notice_.ShowIfDue(); // termination signalled during the run
    return true;
}

bool MainWindow::CanCompare()
{
    const auto *top = static_cast<const ObjectItem *>(objectForest_.ItemAt(0));
    return top != nullptr && ServerDescribes();
}

bool MainWindow::ServerDescribes()
{
    if (client_ == nullptr) {
        return false;
    }
    if (client_->KnowsWhetherItDescribes()) {
        return client_->CanDescribe(); // known: no request
    }
    if (session_.Busy()) {
        return true; // asked once the server is free; the command says so then
    }
    return session_
        .Run<bool>("Asking the backup server what it offers",
                   [](ServerClient &client, WorkerJob &) { return client.CanDescribe(); })
        .value_or(false);
}

bool MainWindow::CmdCompareWithLive()
{
    ObjectItem *object = treeReactions_.SelectedItem();
    if (object == nullptr) {
        InfoBox(this, CompareDialog::kNothingSelected).Execute();
        return true;
    }
    // The version a run would restore: the one the user picked, else the newest.
    const BackupTime version = selection_.MostRecentOnly(*object) ? 0 : object->ChosenVersion();
    if (object->IsInformed()) {
        return true; // a program that is ending asks nothing more
    }
    const std::string name = object->FullName();
    std::optional<DescribedObject> asked = session_.Run<DescribedObject>(
        "Reading " + name, [name, version](ServerClient &client, WorkerJob &job) {
            return client.Describe(name, version, job.StopCheck());
        });
    if (!asked) {
        return true; // stopped
    }
    const DescribedObject described = std::move(*asked);
    switch (described.end) {
    case RequestEnd::Answered:
        break;
    case RequestEnd::NotOffered:
        EnableCompare(false);
        InfoBox(this, ServerClient::kCannotCompare).Execute();
        return true;
    case RequestEnd::Stopped:
        return true;
    case RequestEnd::NameTooLong:
        ErrorBox(this, WB_OK, ServerClient::NameTooLongMessage(object->FullName())).Execute();
        return true;
    default:
        ErrorBox(this, WB_OK, "Cannot compare " + object->FullName() + ": " + described.failure)
            .Execute();
        return true;
    }
    CompareDialog dialog(this);
    dialog.SetComparison(name, version, described.description);
    dialog.Execute();
    return true;
}

std::string MainWindow::ServerName()
{
    return serverName_ ? *serverName_ : "";
}

std::string MainWindow::UserName()
{
    return login_ ? login_->UserName() : "";
}

void MainWindow::AfterRestoreRun()
{
    if (ObjectItem *current = treeReactions_.SelectedItem()) {
        historyReactions_.ShowHistory(*current);
    }
}
