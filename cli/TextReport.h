// The results for people: a header, one line per object in aligned columns, and a summary line
// "N restored, N failed, N skipped" (with ", N not tried" when the run was stopped before some,
// and ", N not found" when some were not found).
#pragma once

#include <string>
#include <vector>

#include "cli/ObjectReport.h"

class TextReport
{
  public:
    // dryRun: the summary counts what would be restored.
    static std::string Render(const std::vector<ObjectReport> &reports, bool dryRun);
    static std::string Summary(const std::vector<ObjectReport> &reports, bool dryRun);
};
