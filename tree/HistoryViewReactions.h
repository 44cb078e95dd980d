// The main window's reactions on its history panel (its handlers, not a view): the versions of
// the object selected in the tree view, newest first, one of which can be ticked as the version
// to restore.
#pragma once

#include <string>

class NodeList;
class ObjectItem;
class OutlinePanel;
struct CheckClick;
class RestoreSelection;
class ServerSession;

class HistoryViewReactions
{
  public:
    static constexpr const char *kNoObjectTitle = "-- No object selected --";
    static constexpr const char *kMostRecentOnly = "Most recent only : ";

    // Shown in the title when the user stopped the reading of the versions.
    static constexpr const char *kVersionsNotRead = "versions not read (stopped)";

    HistoryViewReactions(OutlinePanel &panel, NodeList &versions, RestoreSelection &selection,
                         ServerSession &session);

    void ShowHistory(ObjectItem &item);
    void UpdateHistoryTitle(ObjectItem &item);
    // The ticks of the listed versions follow the object's chosen version, so that the view never
    // shows a version that a run would not restore: none is ticked while the most recent is
    // chosen, or while the object can only be restored at its most recent version.
    void ShowChosenVersion(ObjectItem &item);
    // After a mark changed: the title, the enabling and the ticks for the shown object.
    void MarksChanged(ObjectItem &item);
    long CheckHdl(OutlinePanel &panel, const CheckClick &click);
    void Reset(); // after re-rooting: no object, no versions

  private:
    OutlinePanel &panel_;
    NodeList &versions_;
    RestoreSelection &selection_;
    ServerSession &session_;
};
