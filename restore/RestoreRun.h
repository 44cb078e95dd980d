// The Restore command: counts the marks, confirms the run with the on-error choice, runs it
// (restore/WindowRun on run/RunSteps: every marked object in tree order with one request each,
// what was restored unmarked, a failed object keeping its mark with what is marked below it),
// keeps its record in the journal, and lists every object's line. The list says when the run was
// stopped, by Stop, by the "end" choice or by Abort after a failure, and names what was not
// tried.
#pragma once

#include <string>

#include "report/RunReport.h"

class RestoreRunHost;
class RestoreSelection;
class RunSteps;
class Window;

class RestoreRun
{
  public:
    static constexpr const char *kNothingMarked = "There are no objects selected for restore.";
    static std::string JournalErrorText(const std::string &path, const std::string &reason);

    RestoreRun(RestoreSelection &selection, RestoreRunHost &host);

    bool RunRestore();

    // What the run would do, asked of the server without changing anything, in its own dialog
    // over the options dialog.
    bool ShowPreview(Window *parent);

  private:
    // The question after a failure, over the lines so far: true on "Continue".
    bool Ask(const RunSteps &steps);
    // The run's list in its final form, with Save... and Copy of its record.
    void ShowResults(const RunSteps &steps);
    // Appends the run's record to the journal; a warning says when that failed.
    void KeepInJournal();

    RestoreSelection &selection_;
    RestoreRunHost &host_;
    RunReport record_; // of the last run: the result list's Save... and Copy write it
};
