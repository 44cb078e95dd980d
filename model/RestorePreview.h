// What a restore run would do, found before anything is sent: the objects of the run in its
// order, each with its version and its action (add, change N attributes, nothing to change, or
// why it cannot be restored), and every other entry its restore writes (the missing parents it
// puts back first, and with its subtree everything below it), from a description the server
// makes of each restore. Only descriptions are asked for, so the server is left exactly as it
// was; entries are counted as the run counts what it writes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/AttributeComparison.h"
#include "model/DisplayItem.h"
#include "server/ServerClient.h"

class ObjectItem;
class RestoreSelection;

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
    using StopCheck = std::function<bool()>;
    // Told of each object just before it is described.
    using StepHdl = std::function<void(const ObjectItem &object)>;
    // Asks what a restore of the object at a version (with its subtree or alone) would write;
    // by default the object asks its server.
    using Describer =
        std::function<DescribedObject(const ObjectItem &, BackupTime, bool withSubtree)>;

    explicit RestorePreview(const RestoreSelection &selection);

    // Every object the run would restore, in its order, each after the parents its restore puts
    // back and before the entries of its subtree. A line that cannot be restored (or only in
    // part) passes over its subtree, as the run does. Asked between objects, `stop` ends the
    // preview there (what was found so far is kept); `Stopped` says whether it did.
    // A description that ends Stopped ends the preview the same way.
    std::vector<PreviewLine> Build(const StopCheck &stop = {}, const Describer &describe = {},
                                   const StepHdl &each = {});
    bool Stopped() const { return stopped_; }

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

    const RestoreSelection &selection_;
    std::unordered_set<std::string> comingBack_; // full names an earlier line adds
    bool stopped_ = false;
};
