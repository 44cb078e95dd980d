// RFC 4180 rows.
#include "cli/CsvReport.h"

std::string CsvReport::Field(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string CsvReport::Render(const std::vector<ObjectReport> &reports)
{
    std::string text = "object,version,scope,outcome,message\r\n";
    for (const ObjectReport &report : reports) {
        text += Field(report.fullName) + "," + Field(report.version) + "," +
                Field(ObjectReport::ScopeName(report.scope)) + "," +
                Field(ObjectReport::OutcomeName(report.outcome)) + "," + Field(report.message) +
                "\r\n";
    }
    return text;
}
