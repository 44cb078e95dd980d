// A run's record as a table: a header row, then one row per object, each row carrying the run's
// fields too, so that any row read alone (a filtered spreadsheet, a pasted line) still says
// which run it belongs to. A run without objects keeps one row with its own fields.
#pragma once

#include <string>
#include <vector>

#include "report/RunReport.h"

using TableRow = std::vector<std::string>;

std::vector<TableRow> ReportTable(const RunReport &report);
