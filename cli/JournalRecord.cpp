// The record of a command-line run for the journal of past runs.
#include "cli/JournalRecord.h"

#include <ctime>

JournalRecord::JournalRecord(std::string server, std::string user, OnError onError)
{
    report_.started = static_cast<int64_t>(std::time(nullptr));
    report_.server = std::move(server);
    report_.user = std::move(user);
    report_.onError = onError;
}

RunReport JournalRecord::Finish(const std::vector<ReportedObject> &objects, bool ranToEnd) const
{
    RunReport report = report_;
    report.ended = static_cast<int64_t>(std::time(nullptr));
    report.ranToEnd = ranToEnd;
    report.objects = objects;
    return report;
}
