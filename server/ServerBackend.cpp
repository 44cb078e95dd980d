// What every backend answers unless it knows better.
#include "server/ServerBackend.h"

#include "server/Replies.h"

void *ServerBackend::DescribeObject(const DescribeRequest &, int32_t, int32_t &replySize)
{
    return Replies::EndOfDescription(DescribeNotOffered, 0, "", replySize);
}

void *ServerBackend::ListChanges(const ChangeRequest &, int32_t, int32_t &replySize)
{
    return Replies::EndOfChanges(ChangesUnsupported, 0, 0, replySize);
}

void *ServerBackend::GetBackupTimes(const HistoryRequest &, int32_t, int32_t &replySize)
{
    return Replies::History({}, replySize);
}
