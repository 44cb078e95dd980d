// The main window's reactions on its tree panel (its handlers, not a view): rooting the tree at a
// top context, selecting, opening and closing containers, marking objects for restore and the
// two clearing commands, each by the rules of the restore selection. The panel and the counts
// follow the forest by themselves.
#pragma once

#include <string>

#include "model/NodeReclaimer.h"
#include "toolkit/Timer.h"

class HistoryViewReactions;
class MW_SIGTERMClientList;
class NodeList;
class ObjectItem;
class OutlinePanel;
struct CheckClick;
class RestoreSelection;
class ServerClient;
class ServerSession;
class TreeViewReactionsHost;

class TreeViewReactions
{
  public:
    static constexpr const char *kCloseQuery =
        "There are objects selected for restore.\nDo you really wish to close the "
        "container?\n\n(Note - if you close the container\nthese objects will NOT be restored)";
    static constexpr const char *kClearQuery = "Are you sure you wish to clear all selected items?";
    // Followed by the container's full name, a line break and the server's reason.
    static constexpr const char *kUnableToOpenContainer = "Unable to open container: ";

    TreeViewReactions(OutlinePanel &panel, NodeList &forest, RestoreSelection &selection,
                      HistoryViewReactions &history, TreeViewReactionsHost &host,
                      ServerSession &session);
    ~TreeViewReactions();

    void SetTopContext(const std::string &name, ServerClient *client,
                       MW_SIGTERMClientList *registry);
    const std::string &TopContext() const { return topContext_; }

    long SelectHdl(OutlinePanel &panel);
    long OpenHdl(OutlinePanel &panel);
    long CheckHdl(OutlinePanel &panel, const CheckClick &click);
    // Opens every container on the way from the top context to the object, as the user would,
    // then scrolls to the object and selects it (which shows its history). False when the
    // object is not found on the way (nor the way itself: a listing failed, which was said, or
    // was stopped), or while other work for the server is under way.
    bool GoTo(const std::string &fullName);
    bool ClearAll();
    bool ClearSubtree();

    void UpdateSubtreeEntry(ObjectItem *item);
    ObjectItem *SelectedItem() const;
    ObjectItem *TopItem() const;
    // Objects of closed containers and old top contexts, still to be freed.
    const NodeReclaimer &Reclaimer() const { return reclaimer_; }

  private:
    void OpenWithWarning(ObjectItem &item);
    bool ClearBelow(ObjectItem &item);
    // The child of an open container that is the object, or one of its ancestors; null if none.
    ObjectItem *ChildOnPath(ObjectItem &container, const std::string &fullName) const;

    OutlinePanel &panel_;
    NodeList &forest_;
    RestoreSelection &selection_;
    HistoryViewReactions &history_;
    TreeViewReactionsHost &host_;
    ServerSession &session_;
    std::string topContext_;
    bool historyDue_ = false; // the selection moved while the server was busy
    // Closing a container or re-rooting detaches the nodes; they are freed in slices of about a
    // millisecond whenever the event loop is idle, so that the user never waits for it.
    NodeReclaimer reclaimer_;
    Timer reclaimTimer_;
};
