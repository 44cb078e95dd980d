// "Past Runs": the runs of the journal, newest first, one line each with its start time, server,
// user and how many objects were restored and failed. Open (or a double click) shows the chosen
// run's result list, with Save... and Copy. Damaged lines of the journal are left out, and a
// line below the list says how many.
#pragma once

#include <string>

#include "report/RunJournal.h"
#include "toolkit/FixedText.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"
#include "toolkit/PushButton.h"

class PastRunsDialog : public ModalDialog
{
  public:
    static constexpr const char *kNoRuns = "No restore run has been recorded yet.";

    // The command: reads the journal and shows its runs; a journal that cannot be read, or one
    // without runs, gives a message instead.
    static void ShowJournal(Window *parent, const RunJournal &journal);

    PastRunsDialog(Window *parent, const RunJournal &journal, JournalListing listing);

    void Resize() override;

    static std::string RunLine(const JournalEntry &entry);
    static std::string SkippedText(std::size_t count);
    static std::string ReadErrorText(const std::string &path, const std::string &reason);

  private:
    // Shows the selected run's result list over this dialog.
    void OpenSelected();

    ListBox runs_;
    FixedText skipped_;
    PushButton open_;
    OKButton ok_;
    const RunJournal &journal_;
    JournalListing listing_;
};
