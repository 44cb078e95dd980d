// "Past Runs": the runs of the journal in a table, newest first, one row each with its start
// time, server, user, how many objects it took, how many were restored and failed, and how it
// ended; a click on a column's title sorts by it. Open (or a double click, or Return) shows the
// chosen run's result list, titled with its time and server, with Save... and Copy. Damaged
// lines of the journal are left out, and a line below the table says how many.
#pragma once

#include <string>
#include <vector>

#include "report/RunJournal.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/PushButton.h"
#include "toolkit/ResultTable.h"

class PastRunsDialog : public ModalDialog
{
  public:
    static constexpr const char *kNoRuns = "No restore run has been recorded yet.";
    enum Column {
        StartedColumn,
        ServerColumn,
        UserColumn,
        ObjectsColumn,
        RestoredColumn,
        FailedColumn,
        EndedColumn
    };

    // The command: reads the journal and shows its runs; a journal that cannot be read, or one
    // without runs, gives a message instead.
    static void ShowJournal(Window *parent, const RunJournal &journal);

    PastRunsDialog(Window *parent, const RunJournal &journal, JournalListing listing);

    void Resize() override;

    // A run's row, column by column.
    static std::vector<std::string> RunCells(const JournalEntry &entry);
    // The title of a run's result list opened again: when it started and where.
    static std::string RunTitle(const RunReport &run);
    static std::string SkippedText(std::size_t count);
    static std::string ReadErrorText(const std::string &path, const std::string &reason);

    ResultTable &Runs() { return runs_; }

  private:
    // Shows the selected run's result list over this dialog.
    void OpenSelected();

    ResultTable runs_;
    FixedText skipped_;
    PushButton open_;
    OKButton ok_;
    const RunJournal &journal_;
    JournalListing listing_;
};
