// The results as CSV (RFC 4180): a header row object,version,scope,outcome,message, then one row
// per object; CR LF line ends; a field holding a comma, a quote or a line end is quoted, with its
// quotes doubled.
// ### A shared writer of delimited text is on its way into the program; this one goes then.
#pragma once

#include <string>
#include <vector>

#include "cli/ObjectReport.h"

class CsvReport
{
  public:
    static std::string Render(const std::vector<ObjectReport> &reports);
    static std::string Field(const std::string &text);
};
