// "Find": finds objects below the top context by their own name, deleted ones included, and
// goes to the one the user chooses. It stays open beside the main window. Matches are shown as
// they arrive, a batch at a time on the server worker, so the window keeps painting; the search
// is the dialog's own job, which its Stop gives up and nothing else. The search run belongs to the
// job as much as to the dialog, so a batch under way outlives a stop or the dialog's end. A
// search does not start, nor go on, while a restore runs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "server/ServerClient.h"
#include "session/ServerJob.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedText.h"
#include "toolkit/ModelessDialog.h"
#include "toolkit/PushButton.h"
#include "toolkit/ResultTable.h"

class FindDialogHost;
class SearchRun;

class FindDialog : public ModelessDialog
{
  public:
    static constexpr const char *kCannotSearch = ServerClient::kCannotSearch;
    static constexpr const char *kRestoreUnderWay =
        "A restore is under way. Find again once it has ended.";
    // Matches taken from the server per pass of the event loop.
    static constexpr std::size_t kBatch = 100;
    enum Column { NameColumn, FullNameColumn, KindColumn, StateColumn };

    FindDialog(Window *parent, FindDialogHost &host);
    ~FindDialog() override;

    // Shows the dialog with the keyboard in the pattern field.
    void Present(); // hides ModelessDialog::Present
    void SetPattern(const std::string &text) { pattern_.SetText(text); }
    void SetDeletedOnly(bool only) { deletedOnly_.Check(only); }

    // The commands of its buttons.
    void StartSearch();
    void StopSearch();
    // Goes to the result on this row of the table (as shown).
    void GoToRow(int row);

    bool IsSearching() const { return run_ != nullptr; }
    std::string StatusText() const { return status_.GetText(); }
    const std::vector<FoundObject> &Found() const { return found_; }
    ResultTable &Results() { return results_; }
    PushButton &FindButton() { return find_; }
    PushButton &StopButton() { return stop_; }

  private:
    void NextBatch();
    void TakeBatch(JobEnd end, std::optional<std::vector<FoundObject>> batch);
    void Show(const std::vector<FoundObject> &batch);
    void Finish(RequestEnd end, std::string failure);
    std::string CountText() const;

    FindDialogHost &host_;
    FixedText patternLabel_;
    Edit pattern_;
    PushButton find_;
    CheckBox deletedOnly_;
    PushButton stop_;
    FixedText resultsLabel_;
    FixedText status_;
    ResultTable results_;
    PushButton close_;
    std::string searched_;           // the pattern of the search shown
    std::shared_ptr<SearchRun> run_; // shared with the batch under way
    ServerJob batch_;
    std::vector<FoundObject> found_; // by the table's row keys
};
