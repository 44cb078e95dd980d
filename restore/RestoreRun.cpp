#include "restore/RestoreRun.h"

#include <ctime>
#include <optional>

#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "report/ResultLine.h"
#include "report/RunJournal.h"
#include "res/ResourceIds.h"
#include "restore/PreviewDialog.h"
#include "restore/RestoreOptionsDialog.h"
#include "restore/RestoreResultDialog.h"
#include "restore/RestoreRunHost.h"
#include "restore/WindowRun.h"
#include "run/PreviewWalk.h"
#include "session/ServerSession.h"
#include "toolkit/EventWait.h"
#include "toolkit/MessageBox.h"

namespace
{
void AddLines(RestoreResultDialog &dialog, const RunSteps &steps)
{
    for (const ReportedObject &line : steps.Lines()) {
        dialog.AddResultLine(ResultLineText(line), line.Restored());
    }
}
} // namespace

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
    const int64_t started = std::time(nullptr);
    WindowRun run(selection_, host_.Session(), options.GetOnErrorMode(),
                  [this](const RunSteps &steps) { return Ask(steps); });
    run.Start();
    // The run goes on by the completions of its restores; meanwhile the window paints and
    // answers, and whatever dialog the user opens does not hold the run up.
    EventWait::Until([&run] { return run.Ended(); });
    record_ = run.Steps().Record();
    record_.started = started;
    record_.ended = std::time(nullptr);
    record_.server = host_.ServerName();
    record_.user = host_.UserName();
    host_.AfterRestoreRun();
    KeepInJournal();
    ShowResults(run.Steps());
    return true;
}

bool RestoreRun::ShowPreview(Window *parent)
{
    PreviewWalk preview(selection_);
    ServerSession &session = host_.Session();
    const std::size_t total = preview.Steps().Total();
    std::size_t number = 0;
    session.Begin("Previewing the restore", total);
    std::vector<PreviewLine> lines = preview.Build(
        [&session] { return session.Stopped(); },
        [&session, &number, total](const ObjectItem &object, BackupTime version, bool subtree) {
            const std::string name = object.FullName();
            const std::size_t done = number++;
            session.Describe("Reading " + std::to_string(number) + " of " + std::to_string(total) +
                                 ": " + name,
                             done, total);
            std::optional<DescribedObject> described =
                object.IsInformed()
                    ? std::nullopt
                    : session.Run<DescribedObject>(
                          "Reading " + name,
                          [name, version, subtree](ServerClient &client, WorkerJob &job) {
                              return client.DescribeRestore(name, version, subtree,
                                                            job.StopCheck());
                          });
            if (!described) {
                DescribedObject stopped;
                stopped.end = RequestEnd::Stopped;
                return stopped;
            }
            return std::move(*described);
        });
    session.End();
    PreviewDialog dialog(parent);
    dialog.SetLines(std::move(lines), preview.Stopped());
    dialog.Execute();
    return true;
}

bool RestoreRun::Ask(const RunSteps &steps)
{
    RestoreResultDialog dialog(host_.DialogParent());
    dialog.SetPromptMode(false);
    AddLines(dialog, steps);
    dialog.AskAbout(steps.LastFailure());
    return dialog.Execute() == 1;
}

void RestoreRun::ShowResults(const RunSteps &steps)
{
    RestoreResultDialog dialog(host_.DialogParent());
    dialog.SetPromptMode(true);
    AddLines(dialog, steps);
    if (!steps.RanToEnd()) {
        dialog.SetStopped(steps.StopReason());
    }
    // What was not restored keeps its mark: failed objects, what lies below them, and whatever
    // a stopped run did not come to.
    const MarkCounts left = selection_.Counts();
    dialog.SetStillMarked(
        record_.FailedCount() > 0 ? static_cast<std::size_t>(left.containers + left.objects) : 0);
    dialog.SetReport(&record_);
    dialog.Execute();
}

void RestoreRun::KeepInJournal()
{
    const RunJournal &journal = host_.Journal();
    if (const std::string reason = journal.Append(record_); !reason.empty()) {
        WarningBox(host_.DialogParent(), WB_OK, JournalErrorText(journal.Path(), reason)).Execute();
    }
}

std::string RestoreRun::JournalErrorText(const std::string &path, const std::string &reason)
{
    return "This run could not be added to the journal of past runs " + path + ":\n" + reason;
}
