// The record of a command-line run for the journal of past runs.
#include "cli/JournalRecord.h"

#include <ctime>

namespace
{
OnErrorMode ModeOf(OnError onError)
{
    switch (onError) {
    case OnError::Ask:
        return OnErrorAskUser;
    case OnError::End:
        return OnErrorEnd;
    case OnError::Continue:
        break;
    }
    return OnErrorContinue;
}

ReportedObject ObjectOf(const ObjectReport &report)
{
    using Outcome = ObjectReport::Outcome;
    if (report.outcome == Outcome::Restored) {
        return MakeReportedObject(report.fullName, report.versionTime, report.withSubtree, 0, {},
                                  report.message);
    }
    // Only a failure says nothing more than the server's message; the other outcomes say what
    // they were, as the results do.
    std::string message = report.message;
    if (report.outcome != Outcome::Failed) {
        message = std::string(ObjectReport::OutcomeName(report.outcome)) +
                  (message.empty() ? "" : ": " + message);
    }
    return MakeReportedObject(report.fullName, report.versionTime, report.withSubtree,
                              report.status != 0 ? report.status : ObjectReport::kNotSent, message);
}
} // namespace

JournalRecord::JournalRecord(std::string server, std::string user, OnError onError)
{
    report_.started = static_cast<int64_t>(std::time(nullptr));
    report_.server = std::move(server);
    report_.user = std::move(user);
    report_.onError = ModeOf(onError);
}

RunReport JournalRecord::Finish(const std::vector<ObjectReport> &reports, bool ranToEnd) const
{
    RunReport report = report_;
    report.ended = static_cast<int64_t>(std::time(nullptr));
    report.ranToEnd = ranToEnd;
    report.objects.reserve(reports.size());
    for (const ObjectReport &object : reports) {
        report.objects.push_back(ObjectOf(object));
    }
    return report;
}
