#include "restore/RunRecorder.h"

#include <ctime>

#include "tree/ObjectItem.h"

void RunRecorder::Begin(std::string server, std::string user, OnErrorMode mode)
{
    report_ = RunReport{};
    report_.started = std::time(nullptr);
    report_.ended = report_.started;
    report_.server = std::move(server);
    report_.user = std::move(user);
    report_.onError = mode;
    ended_ = false;
}

void RunRecorder::Record(const ObjectItem &item, int32_t status, const std::string &message,
                         const std::string &note)
{
    // A leaf is sent "with its subtree", which is the leaf alone.
    const bool withSubtree = item.GetCheckState() == Marked && item.IsContainer();
    report_.objects.push_back(MakeReportedObject(item.FullName(), item.ChosenVersion(), withSubtree,
                                                 status, message, note));
}

void RunRecorder::RecordParentAdded(const std::string &name, const ObjectItem &object,
                                    const std::string &note)
{
    report_.objects.push_back(MakeReportedObject(name, object.ChosenVersion(), false, 0, "", note));
}

void RunRecorder::End(bool ranToEnd)
{
    if (ended_) {
        return;
    }
    ended_ = true;
    report_.ended = std::time(nullptr);
    report_.ranToEnd = ranToEnd;
}
