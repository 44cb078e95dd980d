// What a restore run would do, found before anything is sent: the objects of the run in its
// order, each with its version and its action (add, change N attributes, nothing to change, or
// why it cannot be restored), from a description of each object. Only descriptions are asked
// for, so the server is left exactly as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/AttributeComparison.h"
#include "model/DisplayItem.h"
#include "server/ServerClient.h"

class ObjectItem;
class RestoreSelection;

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
    using StopCheck = std::function<bool()>;
    // Told of each object just before it is described.
    using StepHdl = std::function<void(const ObjectItem &object)>;
    // Asks for an object's description at a version; by default the object asks its server.
    using Describer = std::function<DescribedObject(const ObjectItem &, BackupTime)>;

    explicit RestorePreview(const RestoreSelection &selection);

    // Every object the run would restore, in its order. A line that cannot be restored passes
    // over its subtree, as the run does. Asked between objects, `stop` ends the preview there
    // (what was found so far is kept); `Stopped` says whether it did.
    // A description that ends Stopped ends the preview the same way.
    std::vector<PreviewLine> Build(const StopCheck &stop = {}, const Describer &describe = {},
                                   const StepHdl &each = {});
    bool Stopped() const { return stopped_; }

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

    const RestoreSelection &selection_;
    bool stopped_ = false;
};
