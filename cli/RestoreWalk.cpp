// The run's steps with the terminal's answers after a failure.
#include "cli/RestoreWalk.h"

#include <optional>

#include "cli/RestorePlan.h"
#include "cli/Terminal.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "run/PreviewWalk.h"
#include "run/RunWords.h"
#include "server/RestoreReport.h"

RestoreWalk::RestoreWalk(RestoreSelection &selection, RestorePlan &plan, Terminal *terminal)
    : selection_(selection), plan_(plan), terminal_(terminal)
{
}

RestoreWalk::End RestoreWalk::Run(OnError onError, bool dryRun, const ProgressHdl &progress,
                                  const StopCheck &stop)
{
    if (dryRun) {
        return Preview(progress, stop);
    }
    RunSteps steps(selection_, onError);
    End end = End::Whole;
    for (;;) {
        if (stop && stop()) {
            steps.Stop(RunWords::kProgramEnding); // what was not reached is not tried
            end = End::Interrupted;
            break;
        }
        const std::optional<RunSteps::Request> request = steps.Next();
        if (!request) {
            break;
        }
        if (progress) {
            progress(request->number, steps.Total(), request->name);
        }
        std::string message;
        std::optional<RestoreReport> written;
        const int32_t status = request->object->Restore(message, written);
        if (steps.Took(status, message, written)) {
            continue;
        }
        const RunSteps::Choice choice = Ask(request->name, message);
        if (choice == RunSteps::Choice::Stop && stop && stop()) {
            continue; // a signal ended the question: the run ends as on any signal
        }
        steps.Answer(choice);
    }
    if (end == End::Whole && !steps.RanToEnd()) {
        end = End::AtFailure;
    }
    plan_.TakeRun(steps);
    return end;
}

// The window's preview over the plan's marks: each line settles its object with the action as
// the message; what the preview passes over below an object that cannot be restored is skipped.
RestoreWalk::End RestoreWalk::Preview(const ProgressHdl &progress, const StopCheck &stop)
{
    std::size_t count = 0;
    PreviewWalk walk(selection_, RunWords::kProgramEnding);
    const std::size_t total = walk.Steps().Total();
    const std::vector<PreviewLine> lines = walk.Build(stop, {}, [&](const ObjectItem &object) {
        if (progress) {
            progress(++count, total, object.FullName());
        }
    });
    previewed_ = RestorePreview::Count(lines);
    plan_.TakeRun(walk.Steps());
    return walk.Stopped() ? End::Interrupted : End::Whole;
}

RunSteps::Choice RestoreWalk::Ask(const std::string &object, const std::string &message)
{
    std::string said = message;
    while (!said.empty() && (said.back() == '.' || said.back() == ' ')) {
        said.pop_back(); // the question puts its own full stop after the message
    }
    for (;;) {
        std::string answer;
        if (terminal_ == nullptr ||
            !terminal_->Ask("Restore of " + object + " failed: " + said + ". " + kChoices,
                            answer)) {
            return RunSteps::Choice::Stop; // nobody answers: nothing more is sent
        }
        if (answer == "c" || answer == "C") {
            return RunSteps::Choice::Continue;
        }
        if (answer == "s" || answer == "S") {
            return RunSteps::Choice::SkipSubtree;
        }
        if (answer == "q" || answer == "Q") {
            return RunSteps::Choice::Stop;
        }
    }
}
