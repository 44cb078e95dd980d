#include "restore/RestoreRun.h"

#include <optional>

#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "report/RunJournal.h"
#include "res/ResourceIds.h"
#include "restore/PreviewDialog.h"
#include "restore/RestoreOptionsDialog.h"
#include "restore/RestoreResultDialog.h"
#include "restore/RestoreRunHost.h"
#include "restore/WrittenObjects.h"
#include "server/RecordFields.h"
#include "toolkit/Application.h"
#include "toolkit/MessageBox.h"
#include "tree/ServerTasks.h"

RestoreRun::RestoreRun(RestoreSelection &selection, RestoreRunHost &host)
    : selection_(selection), host_(host)
{
}

bool RestoreRun::RunRestore()
{
    const MarkCounts counts = selection_.Counts();
    if (counts.containers == 0 && counts.objects == 0) {
        InfoBox(host_.DialogParent(), kNothingMarked).Execute();
        return true;
    }
    RestoreOptionsDialog options(host_.DialogParent());
    options.SetCounts(static_cast<int32_t>(counts.containers),
                      static_cast<int32_t>(counts.objects));
    options.SetOverwritten(OverwriteCount::Of(selection_.Forest()));
    options.EnablePreview(host_.CanCompare());
    options.SetPreviewHdl([this, &options](Control &) { return ShowPreview(&options); });
    if (options.Execute() != 1) {
        return true;
    }
    std::vector<RestoreResult> results;
    bool goOn = true;
    recorder_.Begin(host_.ServerName(), host_.UserName(), options.GetOnErrorMode());
    Walk(results, options.GetOnErrorMode(), goOn);
    recorder_.End(goOn);
    host_.AfterRestoreRun();
    KeepInJournal();
    if (goOn) {
        ShowRestoreResults(true, results);
    }
    return true;
}

bool RestoreRun::ShowPreview(Window *parent)
{
    RestorePreview preview(selection_);
    ServerTasks &tasks = host_.Tasks();
    const MarkCounts counts = selection_.Counts();
    const std::size_t total = static_cast<std::size_t>(counts.containers + counts.objects);
    std::size_t number = 0;
    tasks.Begin("Previewing the restore", total);
    std::vector<PreviewLine> lines = preview.Build(
        [&tasks] { return tasks.Stopped(); },
        [&tasks, &number, total](const ObjectItem &object, BackupTime version, bool subtree) {
            const std::string name = object.FullName();
            const std::size_t done = number++;
            tasks.Describe("Reading " + std::to_string(number) + " of " + std::to_string(total) +
                               ": " + name,
                           done, total);
            std::optional<DescribedObject> described =
                object.IsInformed()
                    ? std::nullopt
                    : tasks.Run<DescribedObject>("Reading " + name, [name, version,
                                                                     subtree](ServerClient &client,
                                                                              WorkerJob &job) {
                          return client.DescribeRestore(name, version, subtree, job.StopCheck());
                      });
            if (!described) {
                DescribedObject stopped;
                stopped.end = RequestEnd::Stopped;
                return stopped;
            }
            return std::move(*described);
        });
    tasks.End();
    PreviewDialog dialog(parent);
    dialog.SetLines(std::move(lines), preview.Stopped());
    dialog.Execute();
    return true;
}

// In the selection's run order: a restored object is unmarked, which frees what it covered, and
// drawn present; a failed one (also one not restored because the program is ending) keeps its
// mark and its subtree is passed over.
void RestoreRun::Walk(std::vector<RestoreResult> &results, OnErrorMode mode, bool &goOn)
{
    ServerTasks &tasks = host_.Tasks();
    const MarkCounts counts = selection_.Counts();
    const std::size_t total = static_cast<std::size_t>(counts.containers + counts.objects);
    tasks.Begin("Restoring", total);
    RestoreSelection::RunOrder order = selection_.StartRun();
    for (std::size_t number = 1; goOn; ++number) {
        const RestoreSelection::RunOrder::Step step = order.Next();
        if (step.object == nullptr) {
            break;
        }
        const int32_t status = RestoreOne(step, results, mode, goOn, number, total);
        if (status == 0) {
            order.Restored();
        } else {
            order.Failed();
        }
        // Stop ends the run as the "end" choice does: what was not reached keeps its mark.
        if (goOn && tasks.Stopped()) {
            recorder_.End(false);
            tasks.HideProgress();
            ShowRestoreResults(true, results);
            goOn = false;
        }
    }
    tasks.End();
}

// Every object the restore wrote gets a line: the parents it added on the way first (each the
// parent of the next one down), then the object, whose line says what a subtree's restore
// added and changed.
int32_t RestoreRun::RestoreOne(const RestoreSelection::RunOrder::Step &step,
                               std::vector<RestoreResult> &results, OnErrorMode mode, bool &goOn,
                               std::size_t number, std::size_t total)
{
    ObjectItem &object = *step.object;
    static const RestoreReport kNothingSaid;
    std::string message;
    std::optional<RestoreReport> written;
    const bool withSubtree = object.GetCheckState() == Marked;
    const std::string name = object.FullName();
    ServerTasks &tasks = host_.Tasks();
    tasks.Describe("Restoring " + std::to_string(number) + " of " + std::to_string(total) + ": " +
                       name,
                   number - 1, total);
    int32_t status = ObjectItem::EndingStatus;
    message = ObjectItem::kNotRestoredEnding; // never reported as restored
    if (!object.IsInformed()) {
        const BackupTime version = object.ChosenVersion();
        // A restore is never given up half way: its outcome is waited for, Stop or not.
        std::optional<RestoreOutcome> outcome = tasks.Run<RestoreOutcome>(
            "Restoring " + name,
            [name, version, withSubtree](ServerClient &client, WorkerJob &) {
                return client.Restore(name, version, withSubtree);
            },
            ServerWorker::Kind::Write);
        if (outcome) {
            message.clear();
            status = ObjectItem::TakeOutcome(std::move(*outcome), message, written);
        }
    }
    const RestoreReport &said = written ? *written : kNothingSaid;
    const std::vector<std::string> &parents = said.parentsAdded;
    for (std::size_t i = 0; i < parents.size(); ++i) {
        const std::string child = i + 1 < parents.size() ? parents[i + 1] : name;
        results.push_back(MakeRestoreResult(parents[i], 0, "", ParentAddedNote(child)));
        recorder_.RecordParentAdded(parents[i], step, ParentAddedNote(child));
    }
    WrittenObjects::ShowPresent(object, status, written, withSubtree);
    // A leaf is always sent with its "subtree", which is the leaf alone.
    const std::string note =
        said.subtree && object.IsContainer() ? SubtreeNote(said.addedCount, said.changedCount) : "";
    if (status != 0) {
        tasks.HideProgress(); // a prompt may come
    }
    goOn = RecordRestoreResult(results, mode, step, status, message, note);
    return status;
}

bool RestoreRun::RecordRestoreResult(std::vector<RestoreResult> &results, OnErrorMode mode,
                                     const RestoreSelection::RunOrder::Step &step, int32_t status,
                                     const std::string &message, const std::string &note)
{
    results.push_back(MakeRestoreResult(step.object->FullName(), status, message, note));
    recorder_.Record(step, status, message, note);
    if (status == 0) {
        return true;
    }
    switch (mode) {
    case OnErrorAskUser:
        return ShowRestoreResults(false, results);
    case OnErrorEnd:
        recorder_.End(false);
        ShowRestoreResults(true, results);
        return false;
    default:
        return true;
    }
}

bool RestoreRun::ShowRestoreResults(bool finalForm, const std::vector<RestoreResult> &results)
{
    RestoreResultDialog dialog(host_.DialogParent());
    dialog.SetPromptMode(finalForm);
    bool failed = false;
    for (const RestoreResult &result : results) {
        dialog.AddResultLine(RestoreResultLine(result), result.status == 0);
        failed = failed || result.status != 0;
    }
    if (!finalForm && !results.empty()) {
        dialog.AskAbout(FieldText(results.back().name));
    }
    if (finalForm) {
        // Failed objects keep their marks, and so does whatever a stopped run did not reach.
        const MarkCounts left = selection_.Counts();
        dialog.SetStillMarked(failed ? static_cast<std::size_t>(left.containers + left.objects)
                                     : 0);
        dialog.SetReport(&recorder_.Report());
    }
    return dialog.Execute() == 1;
}

void RestoreRun::KeepInJournal()
{
    const RunJournal &journal = host_.Journal();
    if (const std::string reason = journal.Append(recorder_.Report()); !reason.empty()) {
        WarningBox(host_.DialogParent(), WB_OK, JournalErrorText(journal.Path(), reason)).Execute();
    }
}

std::string RestoreRun::JournalErrorText(const std::string &path, const std::string &reason)
{
    return "This run could not be added to the journal of past runs " + path + ":\n" + reason;
}
