// What the user has marked for restore, and every rule about it: what a mark means for the loaded
// objects below, what clearing does, the counts of marked containers and objects, which version
// an object may be restored at, and the order in which a run restores what is marked. It works
// on a forest of directory objects alone, so the window and a command-line restore share it.
//
// A container marked with its whole subtree (Marked) covers its loaded descendants without
// touching them: they read Marked and disabled because of it (DisplayItem::IsCovered) and keep no
// mark of their own, so marking and clearing a container cost the same whatever it holds.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "model/DisplayItem.h"
#include "model/MarkCounts.h"
#include "model/TreeWalker.h"
#include "server/ServerRecords.h"

class NodeList;
class ObjectItem;
class TreeNode;

class RestoreSelection
{
  public:
    explicit RestoreSelection(NodeList &forest);
    const NodeList &Forest() const { return forest_; }

    // Gives the object a mark of its own. Whatever the state, a container's loaded descendants
    // lose their own marks: Marked covers them, MarkedAlone and Unmarked leave them unmarked.
    // Marked also makes the object's chosen version the most recent one. Refused (false) for an
    // object that a Marked container covers.
    bool Mark(ObjectItem &object, CheckState state);
    // Unmarks the object and everything loaded below it; chosen versions stay. False when there
    // was nothing to clear.
    bool Clear(ObjectItem &object);

    // The object or anything loaded below it reads as marked.
    bool HasMarks(const ObjectItem &object) const;
    // Anything loaded anywhere reads as marked.
    bool HasMarks() const;
    // A loaded descendant reads as marked (a covered one too).
    bool HasMarkedDescendant(const ObjectItem &object) const;
    // Closing the container would drop marks that a run would otherwise restore.
    bool ClosingLosesMarks(const ObjectItem &object) const;
    // Clear Selected Subtree applies to it: an enabled, open container with marks below.
    bool CanClearSubtree(const ObjectItem &object) const;
    // Restored at its most recent version only: covered, or a container marked with its subtree.
    bool MostRecentOnly(const ObjectItem &object) const;
    void ChooseVersion(ObjectItem &object, BackupTime version);

    // Marked objects that a run restores one by one (not covered), containers and leaves apart.
    // Visits only the paths that lead to marks.
    MarkCounts Counts() const;
    // The loaded object with this full name, or null.
    ObjectItem *FindLoaded(std::string_view fullName) const;

    // The objects a run restores, one request each, in pre-order (a container before what it
    // holds). After each, the caller says how it went: a restored object is unmarked, and so
    // its covered descendants are free again; a failed one keeps its mark and its subtree is
    // passed over, marks and all. The forest must not change shape while a run walks it.
    class RunOrder
    {
      public:
        struct Step {
            ObjectItem *object = nullptr; // null: the run is over
            CheckState mark = Unmarked;   // Marked: with its whole subtree
            BackupTime version = 0;       // 0: the most recent
        };

        explicit RunOrder(const NodeList &forest);
        Step Next();
        void Restored(); // the object of the last step
        void Failed();

      private:
        TreeNode *Advance(bool intoSubtree);

        TreeWalker walker_;
        TreeNode *current_ = nullptr;
        bool started_ = false;
        bool intoCurrent_ = true;
    };
    RunOrder StartRun() const { return RunOrder(forest_); }

  private:
    void DropMarksBelow(TreeNode &node);

    NodeList &forest_;
};
