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
    SetResizable();
    runs_.SetColumns(
        {"Started", "Server", "User", "Objects", "Restored", "Failed", "How it ended"});
    runs_.SortByColumn(StartedColumn, false);
    std::vector<ResultTable::Row> rows;
    for (std::size_t i = 0; i < listing_.entries.size(); ++i) {
        const JournalEntry &entry = listing_.entries[i];
        const auto count = [](std::size_t n) { return std::optional<int64_t>(n); };
        rows.push_back(
            {RunCells(entry),
             nullptr,
             0,
             static_cast<int>(i),
             {entry.run.started, std::nullopt, std::nullopt, count(entry.restored + entry.failed),
              count(entry.restored), count(entry.failed), std::nullopt}});
    }
    runs_.AddRows(rows);
    runs_.FitColumns();
    RememberSize("PastRuns");
    // The table is named by what it holds, not by the note below it.
    runs_.SetAccessibleName("Past restore runs");
    skipped_.SetText(listing_.skipped == 0 ? "" : SkippedText(listing_.skipped));
    listing_.skipped == 0 ? skipped_.Hide() : skipped_.Show();
    if (!listing_.entries.empty()) {
        runs_.SelectRow(0);
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
    runs_.SetActivateHdl([this](ResultTable &) {
        OpenSelected();
        return 1L;
    });
    Resize();
}

std::vector<std::string> PastRunsDialog::RunCells(const JournalEntry &entry)
{
    const RunReport &run = entry.run;
    return {FormatDateTime(run.started),
            run.server,
            run.user,
            std::to_string(entry.restored + entry.failed),
            std::to_string(entry.restored),
            std::to_string(entry.failed),
            std::string(run.ranToEnd ? kRanToEndText : kStoppedText)};
}

std::string PastRunsDialog::RunTitle(const RunReport &run)
{
    return "Restore of " + FormatDateTime(run.started) + " on " + run.server;
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
    const int key = runs_.KeyAt(runs_.SelectedRow());
    if (key < 0 || static_cast<std::size_t>(key) >= listing_.entries.size()) {
        return;
    }
    std::string reason;
    std::optional<WaitPointer> wait(std::in_place);
    const std::optional<RunReport> run =
        journal_.Read(listing_.entries[static_cast<std::size_t>(key)], reason);
    wait.reset();
    if (!run) {
        ErrorBox(this, WB_OK, ReadErrorText(journal_.Path(), reason)).Execute();
        return;
    }
    RestoreResultDialog results(this);
    results.SetText(RunTitle(*run));
    results.WidenForTitle();
    results.SetPromptMode(true);
    for (const ReportedObject &object : run->objects) {
        results.AddResultLine(ResultLineText(object), object.Restored());
    }
    results.SetReport(&*run);
    results.Execute();
}

// The table takes what the dialog grows by, and the note's line when there is no note; the note
// and the buttons keep to the bottom.
void PastRunsDialog::Resize()
{
    const Size start = StartSize();
    const Size now = GetSizePixel();
    const Size grown{std::max(0, now.width - start.width), std::max(0, now.height - start.height)};
    const bool noted = !skipped_.IsHidden();
    const int noteRoom = noted ? 0 : skipped_.ResourceRect().bottom - runs_.ResourceRect().bottom;
    runs_.PlaceFromResource({}, {grown.width, grown.height + noteRoom});
    skipped_.PlaceFromResource({0, grown.height}, {grown.width, 0});
    open_.PlaceFromResource({grown.width, grown.height}, {});
    ok_.PlaceFromResource({grown.width, grown.height}, {});
}
