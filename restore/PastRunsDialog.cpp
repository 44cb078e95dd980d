#include "restore/PastRunsDialog.h"

#include <algorithm>
#include <optional>

#include "report/ResultLine.h"
#include "res/ResourceIds.h"
#include "restore/RestoreResultDialog.h"
#include "toolkit/International.h"
#include "toolkit/MessageBox.h"
#include "toolkit/WaitPointer.h"

void PastRunsDialog::ShowJournal(Window *parent, const RunJournal &journal)
{
    std::optional<WaitPointer> wait(std::in_place); // a long journal takes a moment to read
    JournalListing listing = journal.List();
    wait.reset();
    if (!listing.error.empty()) {
        ErrorBox(parent, WB_OK, ReadErrorText(journal.Path(), listing.error)).Execute();
        return;
    }
    if (listing.entries.empty() && listing.skipped == 0) {
        InfoBox(parent, kNoRuns).Execute();
        return;
    }
    PastRunsDialog(parent, journal, std::move(listing)).Execute();
}

PastRunsDialog::PastRunsDialog(Window *parent, const RunJournal &journal, JournalListing listing)
    : ModalDialog(parent, ResId(kDialogPastRuns)), runs_(this, ResId(kPastRunsList)),
      skipped_(this, ResId(kPastRunsSkipped)), open_(this, ResId(kPastRunsOpen)),
      ok_(this, ResId(kOKButton)), journal_(journal), listing_(std::move(listing))
{
    FreeResource();
    for (const JournalEntry &entry : listing_.entries) {
        runs_.InsertEntry(RunLine(entry));
    }
    skipped_.SetText(listing_.skipped == 0 ? "" : SkippedText(listing_.skipped));
    if (!listing_.entries.empty()) {
        runs_.SelectEntryPos(0);
        // Return opens the selected run; OK (or Escape) closes the list.
        ok_.SetDefault(false);
        open_.SetDefault();
    } else {
        open_.Disable();
    }
    open_.SetClickHdl([this](Control &) {
        OpenSelected();
        return 1L;
    });
    runs_.SetDoubleClickHdl([this](ListBox &) {
        OpenSelected();
        return 1L;
    });
    SetResizable();
    Resize();
}

std::string PastRunsDialog::RunLine(const JournalEntry &entry)
{
    const RunReport &run = entry.run;
    return FormatDateTime(run.started) + "   " + run.server + "   " + run.user + "   " +
           std::to_string(entry.restored) + " restored, " + std::to_string(entry.failed) +
           " failed" + (run.ranToEnd ? "" : ", stopped");
}

std::string PastRunsDialog::SkippedText(std::size_t count)
{
    return count == 1 ? "1 damaged line of the journal was left out."
                      : std::to_string(count) + " damaged lines of the journal were left out.";
}

std::string PastRunsDialog::ReadErrorText(const std::string &path, const std::string &reason)
{
    return "Unable to read the journal of past runs " + path + ":\n" + reason;
}

void PastRunsDialog::OpenSelected()
{
    const int selected = runs_.GetSelectEntryPos();
    if (selected == ListBox::kNoSelection) {
        return;
    }
    std::string reason;
    std::optional<WaitPointer> wait(std::in_place);
    const std::optional<RunReport> run =
        journal_.Read(listing_.entries[static_cast<std::size_t>(selected)], reason);
    wait.reset();
    if (!run) {
        ErrorBox(this, WB_OK, ReadErrorText(journal_.Path(), reason)).Execute();
        return;
    }
    RestoreResultDialog results(this);
    results.SetPromptMode(true);
    for (const ReportedObject &object : run->objects) {
        results.AddResultLine(ResultLineText(object), object.Restored());
    }
    results.SetReport(&*run);
    results.Execute();
}

// The list takes what the dialog grows by; the note and the buttons keep to the bottom.
void PastRunsDialog::Resize()
{
    const Size start = StartSize();
    const Size now = GetSizePixel();
    const Size grown{std::max(0, now.width - start.width), std::max(0, now.height - start.height)};
    runs_.PlaceFromResource({}, grown);
    skipped_.PlaceFromResource({0, grown.height}, {grown.width, 0});
    open_.PlaceFromResource({grown.width, grown.height}, {});
    ok_.PlaceFromResource({grown.width, grown.height}, {});
}
