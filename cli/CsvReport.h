// The results as CSV (RFC 4180, by the program's shared writer): a header row
// object,version,scope,outcome,message, then one row per object.
#pragma once

#include <string>
#include <vector>

#include "cli/ObjectReport.h"

class CsvReport
{
  public:
    static std::string Render(const std::vector<ObjectReport> &reports);
};
