// A search, request by request.
#include "server/SearchRun.h"

#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"

SearchRun::SearchRun(BackupServer &server, std::string_view contextName, std::string_view pattern,
                     uint32_t flags)
    : server_(server)
{
    request_.flags = flags;
    if (!CopyToField(request_.contextName, contextName)) {
        Finish(RequestEnd::NameTooLong, ServerClient::NameTooLongMessage(contextName));
    } else if (!CopyToField(request_.pattern, pattern)) {
        Finish(RequestEnd::NameTooLong, "The text to find is too long for the backup server.");
    }
}

void SearchRun::Finish(RequestEnd end, std::string failure)
{
    ended_ = true;
    end_ = end;
    failure_ = std::move(failure);
}

bool SearchRun::Next(std::size_t most, const MatchSink &each, const ServerClient::StopCheck &stop)
{
    for (std::size_t taken = 0; !ended_ && taken < most; ++taken) {
        ServerReply reply(server_, RequestType::SearchObjects, sizeof request_, &request_);
        const SearchMatch *match = reply.As<SearchMatch>();
        if (match == nullptr) {
            Finish(RequestEnd::NoReply, ServerClient::kNoReply);
        } else if (!server_.LastFailure().empty()) {
            // Matches already handed over stay valid: they were found.
            Finish(RequestEnd::Failed, server_.LastFailure());
        } else if (match->id == 0) {
            Finish(match->status == 0 ? RequestEnd::Answered : RequestEnd::NotOffered);
        } else {
            request_.lastId = match->id;
            ++found_;
            each(FoundObject{FieldText(match->fullName), match->kind != LeafObjectKind,
                             match->state != DeletedState});
            if (stop && stop()) {
                Finish(RequestEnd::Stopped);
            }
        }
    }
    return !ended_;
}
