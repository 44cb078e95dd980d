#include "restore/RunRecorder.h"

#include <ctime>

#include "model/ObjectItem.h"

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

void RunRecorder::Record(const RestoreSelection::RunOrder::Step &step, int32_t status,
                         const std::string &message, const std::string &note)
{
    // A leaf is sent "with its subtree", which is the leaf alone.
    const bool withSubtree = step.mark == Marked && step.object->IsContainer();
    report_.objects.push_back(MakeReportedObject(step.object->FullName(), step.version, withSubtree,
                                                 status, message, note));
}

void RunRecorder::RecordParentAdded(const std::string &name,
                                    const RestoreSelection::RunOrder::Step &step,
                                    const std::string &note)
{
    report_.objects.push_back(MakeReportedObject(name, step.version, false, 0, "", note));
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
