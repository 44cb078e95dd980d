// One restore run, step by step: a machine its driver feeds. It gives the next request to send,
// takes that request's outcome, and when the on-error choice asks, takes the user's answer. The
// window drives it by the completions of its restores on the server worker, the command line
// one request after the other, and a preview with descriptions instead of restores; they only
// present what it says.
//
// It walks the selection's run order (a container before what it holds, only where marks are).
// A restored object is unmarked, which frees what it covered; a failed one keeps its mark and
// what is marked below it is passed over, marks kept. Every object with a mark of its own gets
// exactly one line (restored, failed, skipped, or not tried once the run was stopped), and the
// parents a restore added on the way get theirs just before it: the lines say what was asked and
// what was done, and the run's record is made of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/DisplayItem.h"
#include "model/RestoreSelection.h"
#include "report/OnError.h"
#include "report/RunReport.h"
#include "server/RestoreReport.h"

class ObjectItem;

class RunSteps
{
  public:
    struct Request {
        ObjectItem *object = nullptr;
        std::string name;         // its full name
        BackupTime version = 0;   // 0: the most recent
        CheckState mark = Marked; // Marked: with its whole subtree (the request's flag)
        std::size_t number = 0;   // from 1, of Total()
    };
    // The user's answer after a failure, when the on-error choice asks: go on, pass over the
    // rest of the subtree being restored (that of the nearest object of the run above the
    // failed one; its own when there is none), or stop the run.
    enum class Choice { Continue, SkipSubtree, Stop };
    // A preview changes no mark and never asks: it goes on after what cannot be restored.
    enum class Mode { Restore, Preview };

    RunSteps(const RestoreSelection &selection, OnError onError, Mode mode = Mode::Restore);

    // Objects with a mark of their own when the run began.
    std::size_t Total() const { return total_; }

    // The next request to send; nothing once the run is over, or while an answer is due.
    std::optional<Request> Next();
    // The outcome of the request Next gave. False when the on-error choice asks: Answer then.
    bool Took(int32_t status, const std::string &message,
              const std::optional<RestoreReport> &written);
    // A preview's outcome of the request Next gave: whether its restore would restore the
    // object, and what it would do (or why it cannot).
    void Previewed(bool restorable, const std::string &action);
    void Answer(Choice choice);
    // Ends the run before any further request; a request out whose outcome will not be taken
    // (it was never sent) and every object not come to get the line "not tried", for `why`.
    void Stop(const std::string &why);

    bool Asking() const { return asking_; }
    bool Over() const { return over_; }
    bool RanToEnd() const { return stopReason_.empty(); }
    // Why the run was stopped; empty when it was not.
    const std::string &StopReason() const { return stopReason_; }
    // The name of the object whose failure is asked about (or was the last).
    const std::string &LastFailure() const { return lastFailure_; }

    const std::vector<ReportedObject> &Lines() const { return lines_; }
    // The object of the run a line belongs to: its own line, and those of the parents its
    // restore added.
    const ObjectItem *OwnerOf(std::size_t line) const { return owners_[line]; }
    // The run's record so far: its lines, the on-error choice and whether it ran to its end;
    // when, where and by whom are the driver's to say.
    RunReport Record() const;

  private:
    struct PassedOver {
        const ObjectItem *object;
        std::string why;
    };
    using Step = RestoreSelection::RunOrder::Step;

    void AddLine(const Step &step, ObjectOutcome outcome, int32_t status, std::string text);
    void AddParentLines(const Step &step, const std::vector<std::string> &parents);
    // The object of the run passed over above this one, if any.
    const PassedOver *PassedOverAbove(const ObjectItem &object);
    const ObjectItem *NearestStepAbove(const ObjectItem &object) const;
    void Failed(const Step &step, int32_t status, const std::string &message);

    RestoreSelection::RunOrder order_;
    OnError onError_;
    Mode mode_;
    std::size_t total_ = 0;
    std::size_t number_ = 0;
    Step current_;         // the step whose request is out, or whose failure is asked about
    bool pending_ = false; // a request is out
    bool asking_ = false;
    bool over_ = false;
    std::string stopReason_;
    std::string lastFailure_;
    std::vector<PassedOver> passedOver_; // outer first
    std::unordered_set<const ObjectItem *> steps_;
    std::vector<ReportedObject> lines_;
    std::vector<const ObjectItem *> owners_;
};
