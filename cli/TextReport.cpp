// The results of a restore in aligned columns.
#include "cli/TextReport.h"

#include <algorithm>

#include "report/TextColumns.h"

std::string TextReport::Render(const std::vector<ObjectReport> &reports, bool dryRun)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"OBJECT", "VERSION", "SCOPE", "OUTCOME", "MESSAGE"});
    for (const ObjectReport &report : reports) {
        rows.push_back({report.fullName, report.version, ObjectReport::ScopeName(report.scope),
                        ObjectReport::OutcomeName(report.outcome), report.message});
    }
    return TextColumns::Render(std::move(rows)) + Summary(reports, dryRun) + "\n";
}

std::string TextReport::Summary(const std::vector<ObjectReport> &reports, bool dryRun)
{
    using Outcome = ObjectReport::Outcome;
    const auto count = [&reports](Outcome outcome) {
        return std::to_string(
            std::count_if(reports.begin(), reports.end(), [outcome](const ObjectReport &report) {
                return report.outcome == outcome;
            }));
    };
    std::string summary = dryRun ? count(Outcome::WouldRestore) + " would be restored"
                                 : count(Outcome::Restored) + " restored";
    summary += ", " + count(Outcome::Failed) + " failed, " + count(Outcome::Skipped) + " skipped";
    if (count(Outcome::NotTried) != "0") {
        summary += ", " + count(Outcome::NotTried) + " not tried";
    }
    if (count(Outcome::NotFound) != "0") {
        summary += ", " + count(Outcome::NotFound) + " not found";
    }
    return summary;
}
