// One record per result.
#include "cli/JsonReport.h"

#include "report/JsonText.h"

std::string JsonReport::Render(const std::vector<ObjectReport> &reports)
{
    std::string json = "[";
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const ObjectReport &report = reports[i];
        json += i == 0 ? "\n" : ",\n";
        json += "  {\"object\": " + JsonString(report.fullName) +
                ", \"version\": " + JsonString(report.version) +
                ", \"scope\": " + JsonString(ObjectReport::ScopeName(report.scope)) +
                ", \"outcome\": " + JsonString(ObjectReport::OutcomeName(report.outcome)) +
                ", \"message\": " + JsonString(report.message) + "}";
    }
    return json + (reports.empty() ? "]\n" : "\n]\n");
}
