#include "report/RunReport.h"

#include <algorithm>

std::size_t RunReport::RestoredCount() const
{
    return static_cast<std::size_t>(std::count_if(
        objects.begin(), objects.end(), [](const ReportedObject &o) { return o.Restored(); }));
}

std::size_t RunReport::FailedCount() const
{
    return objects.size() - RestoredCount();
}

ReportedObject MakeReportedObject(std::string_view name, uint32_t version, bool withSubtree,
                                  int32_t status, std::string_view message, std::string_view note)
{
    ReportedObject object;
    object.name = name;
    object.version = version;
    object.withSubtree = withSubtree;
    object.status = status;
    if (status != 0) {
        object.message = message;
    } else {
        object.note = note;
    }
    return object;
}

std::string_view OnErrorText(OnErrorMode mode)
{
    switch (mode) {
    case OnErrorAskUser:
        return "Ask User";
    case OnErrorEnd:
        return "End";
    default:
        return "Continue";
    }
}

bool OnErrorOf(std::string_view text, OnErrorMode &mode)
{
    for (OnErrorMode candidate : {OnErrorContinue, OnErrorAskUser, OnErrorEnd}) {
        if (text == OnErrorText(candidate)) {
            mode = candidate;
            return true;
        }
    }
    return false;
}
