#include "report/ReportFile.h"

#include <algorithm>
#include <cctype>

#include "report/DelimitedText.h"
#include "report/FileReplacement.h"
#include "report/ReportTable.h"
#include "report/ReportTime.h"
#include "report/RunReportJson.h"

ReportFormat ReportFormatOf(std::string_view path)
{
    constexpr std::string_view kJson = ".json";
    if (path.size() < kJson.size()) {
        return ReportFormat::Csv;
    }
    const std::string_view end = path.substr(path.size() - kJson.size());
    const bool json = std::equal(end.begin(), end.end(), kJson.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    return json ? ReportFormat::Json : ReportFormat::Csv;
}

std::string ReportFileText(const RunReport &report, ReportFormat format)
{
    if (format == ReportFormat::Json) {
        return RunReportToJson(report, JsonLayout::Indented) + "\n";
    }
    return CsvText(ReportTable(report));
}

std::string SuggestedReportName(const RunReport &report)
{
    // "2024-05-03T14:22:10+02:00" -> "2024-05-03-142210"
    std::string time = IsoTime(report.started).substr(0, 19);
    std::erase(time, ':');
    std::replace(time.begin(), time.end(), 'T', '-');
    return "restore-run-" + time + ".csv";
}

std::string SaveReport(const std::string &path, const RunReport &report)
{
    return ReplaceFileContents(path, ReportFileText(report, ReportFormatOf(path)));
}
