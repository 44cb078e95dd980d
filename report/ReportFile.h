// Saving a run's record as a file: JSON when the name ends in ".json" (in any case), CSV
// otherwise. The file is written whole or not at all (see ReplaceFileContents).
#pragma once

#include <string>
#include <string_view>

#include "report/RunReport.h"

enum class ReportFormat { Csv, Json };

ReportFormat ReportFormatOf(std::string_view path);
std::string ReportFileText(const RunReport &report, ReportFormat format);
// The name a saved record is offered under: the run's local start time, as CSV
// ("restore-run-2024-05-03-142210.csv").
std::string SuggestedReportName(const RunReport &report);
// Empty when the file was written; otherwise the reason.
std::string SaveReport(const std::string &path, const RunReport &report);
