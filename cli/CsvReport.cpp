// One row per result.
#include "cli/CsvReport.h"

#include "report/DelimitedText.h"

std::string CsvReport::Render(const std::vector<ObjectReport> &reports)
{
    std::vector<TableRow> rows;
    rows.reserve(reports.size() + 1);
    rows.push_back({"object", "version", "scope", "outcome", "message"});
    for (const ObjectReport &report : reports) {
        rows.push_back({report.fullName, report.version, ObjectReport::ScopeName(report.scope),
                        ObjectReport::OutcomeName(report.outcome), report.message});
    }
    return CsvText(rows);
}
