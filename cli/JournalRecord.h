// A command-line run as the journal of past runs keeps it, beside the window's runs: when it
// started and ended, the server, the user, the on-error choice, whether it ran to the end, and
// every object the results list. An object that was not restored (failed, skipped, not found)
// is kept as not restored, with the reason the results give.
#pragma once

#include <string>
#include <vector>

#include "cli/ObjectReport.h"
#include "cli/RestoreOptions.h"
#include "report/RunReport.h"

class JournalRecord
{
  public:
    // The run starts now.
    JournalRecord(std::string server, std::string user, OnError onError);

    // The run's record, ended now.
    RunReport Finish(const std::vector<ObjectReport> &reports, bool ranToEnd) const;

  private:
    RunReport report_;
};
