// The words of the reports.
#include "cli/ObjectReport.h"

#include "cli/IsoTime.h"

ObjectReport ObjectReport::Of(const ReportedObject &object)
{
    ObjectReport report;
    report.fullName = object.name;
    if (!object.versionAsked.empty()) {
        report.version = object.versionAsked;
    } else {
        report.version = object.version != 0 ? IsoTime::Format(object.version) : "newest";
    }
    report.scope = object.scope;
    report.outcome = object.outcome;
    report.message = object.Restored() ? object.note : object.message;
    return report;
}

std::vector<ObjectReport> ObjectReport::Of(const std::vector<ReportedObject> &objects)
{
    std::vector<ObjectReport> reports;
    reports.reserve(objects.size());
    for (const ReportedObject &object : objects) {
        reports.push_back(Of(object));
    }
    return reports;
}

std::string ObjectReport::OutcomeName(Outcome outcome)
{
    return std::string(OutcomeText(outcome));
}

std::string ObjectReport::ScopeName(Scope scope)
{
    return std::string(ScopeText(scope));
}
