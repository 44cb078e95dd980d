#include "report/ReportTable.h"

#include "report/ReportTime.h"

namespace
{

const TableRow kHeader = {"Started", "Ended",   "Server", "User",    "On error", "Run",
                          "Object",  "Version", "Scope",  "Outcome", "Message",  "Note"};

TableRow RunColumns(const RunReport &report)
{
    return {IsoTime(report.started),
            IsoTime(report.ended),
            report.server,
            report.user,
            std::string(OnErrorText(report.onError)),
            std::string(report.ranToEnd ? kRanToEndText : kStoppedText)};
}

} // namespace

std::vector<TableRow> ReportTable(const RunReport &report)
{
    std::vector<TableRow> rows{kHeader};
    const TableRow run = RunColumns(report);
    for (const ReportedObject &object : report.objects) {
        TableRow row = run;
        row.push_back(object.name);
        row.push_back(ReportedVersionText(object));
        row.push_back(std::string(ScopeText(object.scope)));
        row.push_back(std::string(OutcomeText(object.outcome)));
        row.push_back(object.message);
        row.push_back(object.note);
        rows.push_back(std::move(row));
    }
    if (report.objects.empty()) {
        TableRow row = run;
        row.resize(kHeader.size());
        rows.push_back(std::move(row));
    }
    return rows;
}
