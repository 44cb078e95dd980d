#include "restore/RestoreRun.h"

#include <optional>

#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "res/ResourceIds.h"
#include "restore/RestoreOptionsDialog.h"
#include "restore/RestoreResultDialog.h"
#include "restore/RestoreRunHost.h"
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

// In the selection's run order: a restored object is unmarked, which frees what it covered; a
// failed one keeps its mark and its subtree is passed over.
void RestoreRun::Walk(std::vector<RestoreResult> &results, OnErrorMode mode, bool &goOn)
{
    std::optional<WaitPointer> wait(std::in_place);
    RestoreSelection::RunOrder order = selection_.StartRun();
    while (goOn) {
        const RestoreSelection::RunOrder::Step step = order.Next();
        if (step.object == nullptr) {
            break;
        }
        std::string message;
        const int32_t status = step.object->Restore(message);
        wait.reset(); // a prompt shows the normal pointer
        goOn = RecordRestoreResult(results, mode, *step.object, status, message);
        wait.emplace();
        if (status == 0) {
            order.Restored();
        } else {
            order.Failed();
        }
        // A slow server must not leave a window that no longer paints.
        Application::ProcessPaintEvents();
    }
}

bool RestoreRun::RecordRestoreResult(std::vector<RestoreResult> &results, OnErrorMode mode,
                                     const ObjectItem &item, int32_t status,
                                     const std::string &message)
{
    results.push_back(MakeRestoreResult(item.FullName(), status, message));
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
