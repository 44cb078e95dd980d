// What a restore run would do with each of its objects, found before anything is sent: its
// version and its action (add, change N attributes, nothing to change, or why it cannot be
// restored), and every other entry its restore writes (the missing parents it puts back first,
// and with its subtree everything below it), from a description the server makes of the
// restore. Only descriptions are asked for, so the server is left exactly as it was; entries are
// counted as the run counts what it writes. The run's own walk (run/PreviewWalk) asks for the
// lines in its order.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/AttributeComparison.h"
#include "model/DisplayItem.h"
#include "server/ServerClient.h"

class ObjectItem;

// Restore: the server cannot compare, so only that the run would restore it is known.
enum class PreviewAction { Add, Change, NothingToChange, ParentMissing, CannotRestore, Restore };
// What a line is to the object of the run it belongs to: the object itself, a missing parent its
// restore puts back first, or an entry of its subtree.
enum class PreviewPart { Object, Parent, Below };

// Entries, as the run writes them.
struct PreviewCounts {
    std::size_t add = 0;
    std::size_t change = 0;
    std::size_t unchanged = 0;
    std::size_t cannot = 0;
    std::size_t inPart = 0;  // of those to add, those that would come back without something
    std::size_t unknown = 0; // to restore, what would change not known
};

struct PreviewLine {
    const ObjectItem *object = nullptr; // the object of the run the line belongs to
    std::string name;                   // full name of the line's entry
    BackupTime version = 0;
    PreviewPart part = PreviewPart::Object;
    bool subtree = false;     // a container restored with everything below it
    bool addsParents = false; // the restore puts its missing parents back first
    PreviewAction action = PreviewAction::NothingToChange;
    std::size_t changes = 0; // attributes a restore changes (Change)
    std::string reason;      // why not (CannotRestore)
    std::string lacks;       // what an add would not bring back: a restore in part
    std::vector<ComparedAttribute> compared;
    // Of an object of the run: every entry of its restore but its missing parents (itself and
    // its subtree), and whether any entry it writes would come back only in part.
    PreviewCounts written;
    bool inPart = false;
};

class RestorePreview
{
  public:
    // The lines of the run's next object, marked `mark`, from the description of what its
    // restore writes at the version: the parents it puts back first, the object's own line, then
    // the entries of its subtree. What an earlier object adds is there for the lines after it.
    std::vector<PreviewLine> Lines(const ObjectItem &object, BackupTime version, CheckState mark,
                                   const DescribedObject &described);
    // The line of the run's object itself among those Lines gave.
    static const PreviewLine &OwnLine(const std::vector<PreviewLine> &lines);

    // Whether the run would restore the object of the line whole (it is to be added or
    // changed, or already is as the version holds it, and nothing it writes comes back in part).
    static bool Restorable(const PreviewLine &line);
    // Every line's entry counted once.
    static PreviewCounts Count(const std::vector<PreviewLine> &lines);
    // "add", "change 3 attributes", "nothing to change", "cannot restore: ...", with what else
    // the restore writes ("add, with its subtree: 6 to add, 2 to change, 0 unchanged").
    static std::string ActionText(const PreviewLine &line);
    // "2 to add, 1 to change, 0 unchanged, 1 cannot be restored"
    static std::string CountsText(const PreviewCounts &counts);

  private:
    // The lines of one object of the run: its missing parents that nothing before puts back,
    // itself, its subtree.
    std::vector<PreviewLine> LinesOf(const ObjectItem &object, BackupTime version, CheckState mark,
                                     const DescribedObject &described) const;
    PreviewLine LineOf(const ObjectItem &object, BackupTime version, CheckState mark,
                       const DescribedObject &described, bool parentComesBack) const;

    std::unordered_set<std::string> comingBack_; // full names an earlier line adds
};
