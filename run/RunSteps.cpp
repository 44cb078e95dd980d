// The run order with the on-error choice, and the lines of a run.
#include "run/RunSteps.h"

#include <algorithm>

#include "model/ObjectItem.h"
#include "model/TreeNode.h"
#include "run/RunWords.h"

namespace
{
bool LiesBelow(const ObjectItem &object, const ObjectItem &above)
{
    for (const TreeNode *node = object.Node()->Parent(); node != nullptr; node = node->Parent()) {
        if (node == above.Node()) {
            return true;
        }
    }
    return false;
}

ObjectScope ScopeOf(const ObjectItem &object, CheckState mark)
{
    if (!object.IsContainer()) {
        return ObjectScope::Object;
    }
    return mark == Marked ? ObjectScope::Subtree : ObjectScope::Alone;
}
} // namespace

RunSteps::RunSteps(const RestoreSelection &selection, OnError onError, Mode mode)
    : order_(selection.StartRun()), onError_(onError), mode_(mode)
{
    const MarkCounts counts = selection.Counts();
    total_ = static_cast<std::size_t>(counts.containers + counts.objects);
}

std::optional<RunSteps::Request> RunSteps::Next()
{
    if (asking_ || over_ || pending_) {
        return std::nullopt;
    }
    for (;;) {
        const Step step = order_.Next();
        if (step.object == nullptr) {
            over_ = true;
            return std::nullopt;
        }
        steps_.insert(step.object);
        if (const PassedOver *above = PassedOverAbove(*step.object)) {
            AddLine(step, ObjectOutcome::Skipped, ReportedObject::kNotSent, above->why);
            continue;
        }
        if (!stopReason_.empty()) {
            AddLine(step, ObjectOutcome::NotTried, ReportedObject::kNotSent, stopReason_);
            continue;
        }
        current_ = step;
        pending_ = true;
        return Request{step.object, step.object->FullName(), step.version, step.mark, ++number_};
    }
}

bool RunSteps::Took(int32_t status, const std::string &message,
                    const std::optional<RestoreReport> &written)
{
    if (!pending_) {
        return true;
    }
    pending_ = false;
    if (written) {
        // Added before the object, whether or not the object itself then came back.
        AddParentLines(current_, written->parentsAdded);
    }
    if (status != 0) {
        Failed(current_, status, message);
        switch (onError_) {
        case OnError::Continue:
            return true;
        case OnError::End:
            Stop(RunWords::EndedAt(lastFailure_));
            return true;
        case OnError::Ask:
            asking_ = true;
            return false;
        }
        return true;
    }
    AddLine(current_, ObjectOutcome::Restored, 0,
            RunWords::RestoredNote(current_.object->IsContainer(), written));
    if (mode_ == Mode::Restore) {
        order_.Restored(); // unmarked: what it covered is free again
    }
    return true;
}

void RunSteps::Previewed(bool restorable, const std::string &action)
{
    if (!pending_) {
        return;
    }
    pending_ = false;
    if (restorable) {
        AddLine(current_, ObjectOutcome::WouldRestore, 0, action); // what its restore would do
        return;
    }
    Failed(current_, ReportedObject::kNotSent, action);
}

void RunSteps::Failed(const Step &step, int32_t status, const std::string &message)
{
    AddLine(step, ObjectOutcome::Failed, status, message);
    lastFailure_ = lines_.back().name;
    passedOver_.push_back(
        {step.object, RunWords::BelowFailed(lastFailure_, mode_ == Mode::Preview)});
}

void RunSteps::Answer(Choice choice)
{
    if (!asking_) {
        return;
    }
    asking_ = false;
    switch (choice) {
    case Choice::Continue:
        break;
    case Choice::SkipSubtree: {
        const ObjectItem *failed = current_.object;
        const ObjectItem *above = NearestStepAbove(*failed);
        const ObjectItem *skipped = above != nullptr ? above : failed;
        std::erase_if(passedOver_, [skipped](const PassedOver &entry) {
            return entry.object == skipped || LiesBelow(*entry.object, *skipped);
        });
        passedOver_.push_back({skipped, RunWords::AfterFailureOf(lastFailure_)});
        break;
    }
    case Choice::Stop:
        Stop(RunWords::StoppedAfter(lastFailure_));
        break;
    }
}

void RunSteps::Stop(const std::string &why)
{
    if (!stopReason_.empty() || over_) {
        return;
    }
    stopReason_ = why.empty() ? RunWords::kStopped : why;
    asking_ = false;
    if (pending_) {
        pending_ = false;
        AddLine(current_, ObjectOutcome::NotTried, ReportedObject::kNotSent, stopReason_);
    }
    while (Next()) {
    }
}

RunReport RunSteps::Record() const
{
    RunReport record;
    record.onError = onError_;
    record.ranToEnd = RanToEnd();
    record.objects = lines_;
    return record;
}

void RunSteps::AddLine(const Step &step, ObjectOutcome outcome, int32_t status, std::string text)
{
    ReportedObject line;
    line.name = step.object->FullName();
    line.version = step.version;
    line.scope = ScopeOf(*step.object, step.mark);
    line.outcome = outcome;
    line.status = status;
    (outcome == ObjectOutcome::Restored ? line.note : line.message) = std::move(text);
    lines_.push_back(std::move(line));
    owners_.push_back(step.object);
}

// Each the parent of the next one down, the last one the parent of the object; each added alone,
// at the object's version.
void RunSteps::AddParentLines(const Step &step, const std::vector<std::string> &parents)
{
    const std::string name = step.object->FullName();
    for (std::size_t i = 0; i < parents.size(); ++i) {
        const std::string &child = i + 1 < parents.size() ? parents[i + 1] : name;
        lines_.push_back(MakeReportedObject(parents[i], step.version, ObjectScope::Alone, 0, "",
                                            RunWords::ParentAdded(child)));
        owners_.push_back(step.object);
    }
}

// The run order is a pre-order walk: once it has left a passed-over subtree it never comes back,
// so what no longer holds the object is dropped.
const RunSteps::PassedOver *RunSteps::PassedOverAbove(const ObjectItem &object)
{
    std::erase_if(passedOver_,
                  [&object](const PassedOver &entry) { return !LiesBelow(object, *entry.object); });
    return passedOver_.empty() ? nullptr : &passedOver_.front();
}

const ObjectItem *RunSteps::NearestStepAbove(const ObjectItem &object) const
{
    for (const TreeNode *node = object.Node()->Parent(); node != nullptr; node = node->Parent()) {
        const auto *above = static_cast<const ObjectItem *>(node->Item());
        if (steps_.contains(above)) {
            return above;
        }
    }
    return nullptr;
}
