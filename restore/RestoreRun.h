// The Restore command: counts the marks, confirms the run with the on-error choice, restores
// every marked object in tree order with one request each, unmarks what was restored, and lists
// every outcome. A failed object keeps its mark and its subtree is skipped; the on-error choice
// decides whether the run goes on, asks the user, or ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/OnErrorMode.h"
#include "model/RestoreSelection.h"
#include "restore/RestoreResult.h"
#include "restore/RunRecorder.h"

class RestoreRunHost;
class RestoreSelection;
class Window;

class RestoreRun
{
  public:
    static constexpr const char *kNothingMarked = "There are no objects selected for restore.";
    static std::string JournalErrorText(const std::string &path, const std::string &reason);

    RestoreRun(RestoreSelection &selection, RestoreRunHost &host);

    bool RunRestore();
    // Appends the outcome (with the note on a success, see RestoreResult); returns whether the
    // run goes on.
    bool RecordRestoreResult(std::vector<RestoreResult> &results, OnErrorMode mode,
                             const RestoreSelection::RunOrder::Step &step, int32_t status,
                             const std::string &message, const std::string &note = {});
    // Shows every outcome so far; true when the dialog ended with OK (or "Continue").
    bool ShowRestoreResults(bool finalForm, const std::vector<RestoreResult> &results);

    // What the run would do, asked of the server without changing anything, in its own dialog
    // over the options dialog.
    bool ShowPreview(Window *parent);

  private:
    void Walk(std::vector<RestoreResult> &results, OnErrorMode mode, bool &goOn);
    // Appends the run's record to the journal; a warning says when that failed.
    void KeepInJournal();
    // Restores one object and records what the restore wrote; returns its status.
    int32_t RestoreOne(const RestoreSelection::RunOrder::Step &step,
                       std::vector<RestoreResult> &results, OnErrorMode mode, bool &goOn,
                       std::size_t number, std::size_t total);

    RestoreSelection &selection_;
    RestoreRunHost &host_;
    RunRecorder recorder_; // the record of the run under way
};
