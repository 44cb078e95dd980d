// The run itself: the objects marked by a RestorePlan, restored in the selection's run order
// (each container before what it holds) with one request each, as the window sends them. What
// happens after a failure is the on-error choice's; an interrupt stops the run after the request
// in flight; a dry run sends nothing and only says what would be sent.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "cli/RestoreOptions.h"

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

    // Restores (or, for a dry run, only lists) what is marked and settles every entry of the
    // plan.
    End Run(OnError onError, bool dryRun, const ProgressHdl &progress, const StopCheck &stop);

  private:
    enum class Choice { Continue, SkipSubtree, Stop };
    Choice Ask(const std::string &object, const std::string &message);

    RestoreSelection &selection_;
    RestorePlan &plan_;
    Terminal *terminal_;
};
