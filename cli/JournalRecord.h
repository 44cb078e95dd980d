// A command-line run as the journal of past runs keeps it, beside the window's runs: when it
// started and ended, the server, the user, the on-error choice, whether it ran to the end, and
// every object the results list, as the run recorded what was asked of it and done.
#pragma once

#include <string>
#include <vector>

#include "report/OnError.h"
#include "report/RunReport.h"

class JournalRecord
{
  public:
    // The run starts now.
    JournalRecord(std::string server, std::string user, OnError onError);

    // The run's record, ended now.
    RunReport Finish(const std::vector<ReportedObject> &objects, bool ranToEnd) const;

  private:
    RunReport report_;
};
