// What a restore run would do with each of its objects, found before anything is sent: its
// version and its action (add, change N attributes, nothing to change, or why it cannot be
// restored), from a description of the object. Only descriptions are asked for, so the server is
// left exactly as it was. The run's own walk (run/PreviewWalk) asks for the lines in its order.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/AttributeComparison.h"
#include "model/DisplayItem.h"
#include "server/ServerClient.h"

class ObjectItem;

enum class PreviewAction { Add, Change, NothingToChange, ParentMissing, CannotRestore };

struct PreviewLine {
    const ObjectItem *object = nullptr;
    std::string name; // full name
    BackupTime version = 0;
    bool subtree = false;     // a container restored with everything below it
    bool addsParents = false; // the restore puts its missing parents back first
    PreviewAction action = PreviewAction::NothingToChange;
    std::size_t changes = 0; // attributes a restore changes (Change)
    std::string reason;      // why not (CannotRestore)
    std::vector<ComparedAttribute> compared;
};

struct PreviewCounts {
    std::size_t add = 0;
    std::size_t change = 0;
    std::size_t unchanged = 0;
    std::size_t cannot = 0;
};

class RestorePreview
{
  public:
    // The line of the run's next object, marked `mark`, from its description at the version.
    // An object found to be added brings its children's parent back for the lines after it.
    PreviewLine Line(const ObjectItem &object, BackupTime version, CheckState mark,
                     const DescribedObject &described);

    // Whether the run would restore the line's object (it is to be added or changed, or already
    // is as the version holds it).
    static bool Restorable(const PreviewLine &line);
    static PreviewCounts Count(const std::vector<PreviewLine> &lines);
    // "add", "change 3 attributes", "nothing to change", "cannot restore: ..."
    static std::string ActionText(const PreviewLine &line);
    // "2 to add, 1 to change, 0 unchanged, 1 cannot be restored"
    static std::string CountsText(const PreviewCounts &counts);

  private:
    PreviewLine LineOf(const ObjectItem &object, BackupTime version, CheckState mark,
                       const DescribedObject &described, bool parentComesBack) const;

    std::unordered_set<const ObjectItem *> comingBack_; // added by an earlier line
};
