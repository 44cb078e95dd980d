// Walking the run order, with the on-error choice after each failure.
#include "cli/RestoreWalk.h"

#include <optional>

#include "cli/RestorePlan.h"
#include "cli/Terminal.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "model/TreeNode.h"
#include "server/RestoreReport.h"

namespace
{
using Outcome = ObjectReport::Outcome;

bool LiesBelow(const ObjectItem &object, const ObjectItem &above)
{
    for (const TreeNode *node = object.Node()->Parent(); node != nullptr; node = node->Parent()) {
        if (node == above.Node()) {
            return true;
        }
    }
    return false;
}

// What the server says a restore wrote beyond the object itself, when it says.
std::string WhatWasWritten(const ObjectItem &object, const std::optional<RestoreReport> &report)
{
    if (!report) {
        return {};
    }
    const RestoreReport &written = *report;
    std::string said;
    if (written.subtree && object.IsContainer()) {
        said = "with its subtree: " + std::to_string(written.addedCount) +
               (written.addedCount == 1 ? " object" : " objects") + " added, " +
               std::to_string(written.changedCount) + " changed";
    }
    if (!written.parentsAdded.empty()) {
        said += std::string(said.empty() ? "" : "; ") + "missing parents added first:";
        for (const std::string &parent : written.parentsAdded) {
            said += " " + parent;
        }
    }
    return said;
}
} // namespace

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
    const MarkCounts counts = selection_.Counts();
    const std::size_t total = static_cast<std::size_t>(counts.containers + counts.objects);
    std::size_t count = 0;
    std::string notReached;
    Outcome notReachedOutcome = Outcome::Skipped;
    End end = End::Whole;
    // After "skip the rest of this subtree": the object of the run whose subtree is passed over.
    const ObjectItem *skipping = nullptr;
    std::string skipReason;
    RestoreSelection::RunOrder order = selection_.StartRun();
    for (;;) {
        if (stop && stop()) {
            // Ending on a signal: what was not reached is a failure, as in the window.
            end = End::Interrupted;
            notReached = ObjectItem::kNotRestoredEnding;
            notReachedOutcome = Outcome::Failed;
            break;
        }
        const RestoreSelection::RunOrder::Step step = order.Next();
        if (step.object == nullptr) {
            break;
        }
        RestorePlan::Entry *asked = plan_.EntryOf(*step.object);
        if (asked == nullptr) {
            order.Failed(); // marked by nobody of this run: never sent
            continue;
        }
        RestorePlan::Entry &entry = *asked;
        if (skipping != nullptr && LiesBelow(*step.object, *skipping)) {
            plan_.Settle(entry, Outcome::Skipped, skipReason);
            order.Failed(); // passed over, marks and all
            continue;
        }
        skipping = nullptr;
        if (progress) {
            progress(++count, total, entry.wanted.fullName);
        }
        std::string message;
        std::optional<RestoreReport> written;
        entry.sent = true;
        const int32_t status = step.object->Restore(message, written);
        if (status == 0) {
            plan_.Settle(entry, Outcome::Restored, WhatWasWritten(*step.object, written));
            order.Restored();
            continue;
        }
        entry.status = status;
        plan_.Settle(entry, Outcome::Failed, message);
        order.Failed();
        Choice choice = Choice::Continue;
        if (onError == OnError::End) {
            choice = Choice::Stop;
        } else if (onError == OnError::Ask) {
            choice = Ask(entry.wanted.fullName, message);
        }
        if (choice == Choice::Stop && stop && stop()) {
            continue; // a signal ended the question: the run ends as on any signal
        }
        if (choice == Choice::Stop) {
            notReached = (onError == OnError::End ? "not restored: the run ended at the failure of "
                                                  : "not restored: the run was stopped after the "
                                                    "failure of ") +
                         entry.wanted.fullName;
            end = End::AtFailure;
            break;
        }
        if (choice == Choice::SkipSubtree) {
            // The subtree being restored: that of the nearest object of the run above the failed
            // one; for an object with none above it, its own.
            RestorePlan::Entry *above = plan_.NearestAbove(*step.object);
            skipping = above != nullptr ? above->object : nullptr;
            skipReason = "skipped after the failure of " + entry.wanted.fullName;
        }
    }
    plan_.SettleTheRest(notReached.empty() ? "not restored" : notReached, notReachedOutcome);
    return end;
}

// The window's preview over the plan's marks: each line settles its object with the action as
// the message; what the preview passes over below an object that cannot be restored is skipped.
RestoreWalk::End RestoreWalk::Preview(const ProgressHdl &progress, const StopCheck &stop)
{
    const MarkCounts counts = selection_.Counts();
    const std::size_t total = static_cast<std::size_t>(counts.containers + counts.objects);
    std::size_t count = 0;
    RestorePreview preview(selection_);
    const std::vector<PreviewLine> lines = preview.Build(stop, {}, [&](const ObjectItem &object) {
        if (progress) {
            progress(++count, total, object.FullName());
        }
    });
    previewed_ = RestorePreview::Count(lines);
    for (const PreviewLine &line : lines) {
        if (line.part != PreviewPart::Object) {
            continue; // counted, and told in its object's action
        }
        if (RestorePlan::Entry *entry = plan_.EntryOf(*line.object)) {
            entry->previewed = true;
            plan_.Settle(*entry,
                         RestorePreview::Restorable(line) ? Outcome::WouldRestore : Outcome::Failed,
                         RestorePreview::ActionText(line));
        }
    }
    if (preview.Stopped()) {
        plan_.SettleTheRest(ObjectItem::kNotRestoredEnding, Outcome::Failed);
        return End::Interrupted;
    }
    plan_.SettleTheRest("not restored");
    return End::Whole;
}

RestoreWalk::Choice RestoreWalk::Ask(const std::string &object, const std::string &message)
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
            return Choice::Stop; // nobody answers: nothing more is sent
        }
        if (answer == "c" || answer == "C") {
            return Choice::Continue;
        }
        if (answer == "s" || answer == "S") {
            return Choice::SkipSubtree;
        }
        if (answer == "q" || answer == "Q") {
            return Choice::Stop;
        }
    }
}
