// The run itself: the objects marked by a RestorePlan, restored in the selection's run order
// (each container before what it holds) with one request each, as the window sends them, by the
// run's own steps (run/RunSteps). What happens after a failure is the on-error choice's, asked
// on the terminal for "ask"; an interrupt stops the run after the request in flight. A dry run
// changes nothing: it describes each object of the run instead, and says what its restore would
// do, as the window's preview does (run/PreviewWalk).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "model/RestorePreview.h"
#include "report/OnError.h"
#include "run/RunSteps.h"

class RestorePlan;
class RestoreSelection;
class Terminal;

class RestoreWalk
{
  public:
    static constexpr const char *kChoices = "Continue, skip the rest of this subtree, or stop? "
                                            "[c/s/q] ";

    using ProgressHdl =
        std::function<void(std::size_t count, std::size_t total, const std::string &object)>;
    using StopCheck = std::function<bool()>;

    // terminal: where "ask" asks; only used with OnError::Ask.
    RestoreWalk(RestoreSelection &selection, RestorePlan &plan, Terminal *terminal);

    enum class End {
        Whole,       // every step was taken
        AtFailure,   // the on-error choice (end, or stop when asked) ended it after a failure
        Interrupted, // a signal ended it
    };

    // Restores (or, for a dry run, only previews) what is marked and settles every entry of the
    // plan. A dry run passes over what lies below an object that cannot be restored, as a run
    // that goes on after a failure does; nothing is asked on the terminal.
    End Run(OnError onError, bool dryRun, const ProgressHdl &progress, const StopCheck &stop);
    // What a dry run found: how many objects it would add, change, leave, or cannot restore.
    const PreviewCounts &Previewed() const { return previewed_; }

  private:
    End Preview(const ProgressHdl &progress, const StopCheck &stop);
    RunSteps::Choice Ask(const std::string &object, const std::string &message);

    RestoreSelection &selection_;
    RestorePlan &plan_;
    Terminal *terminal_;
    PreviewCounts previewed_;
};
