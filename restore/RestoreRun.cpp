#include "restore/RestoreRun.h"

#include <optional>

#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "res/ResourceIds.h"
#include "restore/PreviewDialog.h"
#include "restore/RestoreOptionsDialog.h"
#include "restore/RestoreResultDialog.h"
#include "restore/RestoreRunHost.h"
#include "restore/WrittenObjects.h"
#include "toolkit/Application.h"
#include "toolkit/MessageBox.h"
#include "toolkit/WaitPointer.h"

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
    Walk(results, options.GetOnErrorMode(), goOn);
    host_.AfterRestoreRun();
    if (goOn) {
        ShowRestoreResults(true, results);
    }
    return true;
}

bool RestoreRun::ShowPreview(Window *parent)
{
    std::vector<PreviewLine> lines;
    RestorePreview preview(selection_);
    {
        WaitPointer wait;
        lines = preview.Build();
    }
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
    std::optional<WaitPointer> wait(std::in_place);
    RestoreSelection::RunOrder order = selection_.StartRun();
    while (goOn) {
        const RestoreSelection::RunOrder::Step step = order.Next();
        if (step.object == nullptr) {
            break;
        }
        const int32_t status = RestoreOne(*step.object, results, mode, goOn, wait);
        if (status == 0) {
            order.Restored();
        } else {
            order.Failed();
        }
        // A slow server must not leave a window that no longer paints.
        Application::ProcessPaintEvents();
    }
}

// Every object the restore wrote gets a line: the parents it added on the way first (each the
// parent of the next one down), then the object, whose line says what a subtree's restore
// added and changed.
int32_t RestoreRun::RestoreOne(ObjectItem &object, std::vector<RestoreResult> &results,
                               OnErrorMode mode, bool &goOn, std::optional<WaitPointer> &wait)
{
    static const RestoreReport kNothingSaid;
    std::string message;
    std::optional<RestoreReport> written;
    const bool withSubtree = object.GetCheckState() == Marked;
    const int32_t status = object.Restore(message, written);
    const RestoreReport &said = written ? *written : kNothingSaid;
    const std::vector<std::string> &parents = said.parentsAdded;
    for (std::size_t i = 0; i < parents.size(); ++i) {
        const std::string child = i + 1 < parents.size() ? parents[i + 1] : object.FullName();
        results.push_back(MakeRestoreResult(parents[i], 0, "", ParentAddedNote(child)));
    }
    WrittenObjects::ShowPresent(object, status, written, withSubtree);
    // A leaf is always sent with its "subtree", which is the leaf alone.
    const std::string note =
        said.subtree && object.IsContainer() ? SubtreeNote(said.addedCount, said.changedCount) : "";
    wait.reset(); // a prompt shows the normal pointer
    goOn = RecordRestoreResult(results, mode, object, status, message, note);
    wait.emplace();
    return status;
}

bool RestoreRun::RecordRestoreResult(std::vector<RestoreResult> &results, OnErrorMode mode,
                                     const ObjectItem &item, int32_t status,
                                     const std::string &message, const std::string &note)
{
    results.push_back(MakeRestoreResult(item.FullName(), status, message, note));
    if (status == 0) {
        return true;
    }
    switch (mode) {
    case OnErrorAskUser:
        return ShowRestoreResults(false, results);
    case OnErrorEnd:
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
    for (const RestoreResult &result : results) {
        dialog.AddResultLine(RestoreResultLine(result), result.status == 0);
    }
    return dialog.Execute() == 1;
}
