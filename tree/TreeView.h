// The main window's reactions on its tree panel: rooting the tree at a top context, selecting,
// opening and closing containers, marking objects for restore with their loaded descendants,
// the two clearing commands and the counts of marked objects.
#pragma once

#include <string>

#include "tree/MarkCounts.h"

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

    TreeView(OutlinePanel &panel, NodeList &forest, HistoryView &history, TreeViewHost &host);

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

  private:
    void OpenWithWarning(ObjectItem &item);
    bool ClearBelow(ObjectItem &item);

    OutlinePanel &panel_;
    NodeList &forest_;
    HistoryView &history_;
    TreeViewHost &host_;
    std::string topContext_;
};
