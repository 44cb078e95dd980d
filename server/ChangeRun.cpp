// A change report, request by request.
#include "server/ChangeRun.h"

#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"

namespace
{
// The change of a record; NoChange (and anything unknown) is none.
bool KindOf(uint8_t change, ChangeKind &kind)
{
    switch (change) {
    case ObjectDeleted:
        kind = ChangeKind::Deleted;
        return true;
    case ObjectAdded:
        kind = ChangeKind::Added;
        return true;
    case ObjectModified:
        kind = ChangeKind::Modified;
        return true;
    case ObjectMoved:
        kind = ChangeKind::Moved;
        return true;
    default:
        return false;
    }
}

void AddNames(std::vector<std::string> &names, const std::string &text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t blank = text.find(' ', at);
        const std::size_t end = blank == std::string::npos ? text.size() : blank;
        if (end > at) {
            names.push_back(text.substr(at, end - at));
        }
        at = end + 1;
    }
}
} // namespace

ChangeRun::ChangeRun(BackupServer &server, std::string_view contextName, ChangePoints points,
                     uint32_t flags)
    : server_(server)
{
    request_.from = points.from;
    request_.to = points.toLive ? 0 : points.to;
    request_.flags = flags | (points.toLive ? ChangesToLive : 0);
    if (!CopyToField(request_.contextName, contextName)) {
        Finish(RequestEnd::NameTooLong, ServerClient::NameTooLongMessage(contextName));
    }
}

void ChangeRun::Finish(RequestEnd end, std::string failure)
{
    ended_ = true;
    end_ = end;
    failure_ = std::move(failure);
}

bool ChangeRun::Next(std::size_t most, const ChangeSink &each, const ServerClient::StopCheck &stop)
{
    for (std::size_t taken = 0; !ended_ && taken < most; ++taken) {
        ServerReply reply(server_, RequestType::ListChanges, sizeof request_, &request_);
        const ChangeRecord *record = reply.As<ChangeRecord>();
        if (record == nullptr) {
            Finish(RequestEnd::NoReply, ServerClient::kNoReply);
            continue;
        }
        examined_ = record->examined;
        total_ = record->total;
        if (!server_.LastFailure().empty()) {
            // Changes already handed over stay valid: they were found.
            Finish(RequestEnd::Failed, server_.LastFailure());
        } else if (record->id == 0) {
            Finish(record->status == 0 ? RequestEnd::Answered : RequestEnd::NotOffered);
        } else {
            request_.lastId = record->id;
            Take(*record, each);
            if (stop && stop()) {
                Finish(RequestEnd::Stopped);
            }
        }
    }
    return !ended_;
}

void ChangeRun::Take(const ChangeRecord &record, const ChangeSink &each)
{
    ChangeKind kind;
    if (!KindOf(record.change, kind)) {
        return;
    }
    if (!gathers_) {
        gathering_ = ObjectChange{kind,
                                  FieldText(record.fullName),
                                  FieldText(record.oldName),
                                  record.kind != LeafObjectKind,
                                  {},
                                  record.deletedAt,
                                  (record.flags & OldNameFree) != 0};
    }
    AddNames(gathering_.attributes, FieldText(record.attributes));
    gathers_ = (record.flags & MoreAttributes) != 0;
    if (!gathers_) {
        ++found_;
        each(std::move(gathering_));
        gathering_ = ObjectChange{};
    }
}
