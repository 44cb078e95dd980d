// The main window's reactions on its tree panel: rooting the tree at a top context, selecting,
// opening and closing containers, marking objects for restore with their loaded descendants,
// the two clearing commands and the counts of marked objects.
#pragma once

#include <string>

#include "toolkit/Timer.h"
#include "tree/MarkCounts.h"
#include "tree/NodeReclaimer.h"

class BackupServer;
class HistoryView;
class MW_SIGTERMClientList;
class NodeList;
class ObjectItem;
class OutlinePanel;
class TreeViewHost;

class TreeView
{
  public:
    static constexpr const char *kCloseQuery =
        "There are objects selected for restore.\nDo you really wish to close the "
        "container?\n\n(Note - if you close the container\nthese objects will NOT be restored)";
    static constexpr const char *kClearQuery = "Are you sure you wish to clear all selected items?";
    // Followed by the container's full name, a line break and the server's reason.
    static constexpr const char *kUnableToOpenContainer = "Unable to open container: ";

    TreeView(OutlinePanel &panel, NodeList &forest, HistoryView &history, TreeViewHost &host);
    ~TreeView();

    void SetTopContext(const std::string &name, BackupServer *server,
                       MW_SIGTERMClientList *registry);
    const std::string &TopContext() const { return topContext_; }

    long SelectHdl(OutlinePanel &panel);
    long OpenHdl(OutlinePanel &panel);
    long CheckHdl(OutlinePanel &panel);
    bool ClearAll();
    bool ClearSubtree();

    MarkCounts CountMarked() const;
    bool HasMarks() const; // the top context or anything loaded below it is marked
    void UpdateSubtreeEntry(ObjectItem *item);
    ObjectItem *SelectedItem() const;
    ObjectItem *TopItem() const;
    // Stores the item's child defaults on every loaded descendant.
    static void ApplyChildDefaults(ObjectItem &item);
    // Objects of closed containers and old top contexts, still to be freed.
    const NodeReclaimer &Reclaimer() const { return reclaimer_; }

  private:
    void OpenWithWarning(ObjectItem &item);
    bool ClearBelow(ObjectItem &item);

    OutlinePanel &panel_;
    NodeList &forest_;
    HistoryView &history_;
    TreeViewHost &host_;
    std::string topContext_;
    // Closing a container or re-rooting detaches the nodes; they are freed in slices of about a
    // millisecond whenever the event loop is idle, so that the user never waits for it.
    NodeReclaimer reclaimer_;
    Timer reclaimTimer_;
};
