// What a restore run would do, found before anything is sent: the run's own steps, each object
// described instead of restored, in the run's order, passing over what lies below an object
// that cannot be restored as the run does after a failure. The window's preview shows its
// lines; a dry run of the command line reports its steps' lines as the run would.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/RestorePreview.h"
#include "run/RunSteps.h"
#include "run/RunWords.h"

class PreviewWalk
{
  public:
    using StopCheck = std::function<bool()>;
    // Told of each object just before it is described.
    using StepHdl = std::function<void(const ObjectItem &object)>;
    // Asks what a restore of the object at a version (with its subtree or alone) would write;
    // by default the object asks its server.
    using Describer =
        std::function<DescribedObject(const ObjectItem &, BackupTime, bool withSubtree)>;

    // stopReason: what the objects not come to are told when the walk is stopped.
    explicit PreviewWalk(const RestoreSelection &selection,
                         std::string stopReason = RunWords::kStopped);

    // Every object the run would restore, in its order, each after the parents its restore puts
    // back and before the entries of its subtree. Asked between objects, `stop` ends the
    // preview there (what was found so far is kept); a description that ends Stopped ends it the
    // same way. `Stopped` says whether it did.
    std::vector<PreviewLine> Build(const StopCheck &stop = {}, const Describer &describe = {},
                                   const StepHdl &each = {});
    bool Stopped() const { return stopped_; }
    // The lines of the run it walked: would restore, cannot (failed), skipped, not tried.
    const RunSteps &Steps() const { return steps_; }

  private:
    RunSteps steps_;
    RestorePreview preview_;
    std::string stopReason_;
    bool stopped_ = false;
};
