// Typed requests over the record protocol: a listing asks record by record, naming the last child
// received, until the record whose id is 0.
#include "server/ServerClient.h"

#include "mwlib/MW_Text.h"
#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"

namespace
{
// Shown with the name that does not fit; enough to recognise the object.
constexpr std::size_t NameShownInMessage = 40;
} // namespace

ServerClient::ServerClient(BackupServer &server) : server_(server) {}

ChildListing ServerClient::ListChildren(std::string_view containerName, const StopCheck &stop)
{
    ChildListing listing;
    ChildRequest request{};
    if (!CopyToField(request.containerName, containerName)) {
        listing.end = RequestEnd::NameTooLong;
        return listing;
    }
    for (;;) {
        ServerReply reply(server_, RequestType::ListChildren, sizeof request, &request);
        const ObjectRecord *record = reply.As<ObjectRecord>();
        if (record == nullptr) {
            listing.end = RequestEnd::NoReply;
            listing.failure = kNoReply;
            break;
        }
        // The records cannot tell a listing that failed from an empty one; the server says so.
        if (!server_.LastFailure().empty()) {
            listing.end = RequestEnd::Failed;
            listing.failure = server_.LastFailure();
            break;
        }
        if (record->id == 0) {
            break;
        }
        // A stop can only have been asked for during the request: then no further request.
        if (stop && stop()) {
            listing.end = RequestEnd::Stopped;
            break;
        }
        listing.children.push_back(ListedObject{FieldText(record->name),
                                                record->kind != LeafObjectKind,
                                                record->state != DeletedState});
        request.lastId = record->id;
    }
    listing.note = server_.TakeListingNote();
    return listing;
}

ObjectHistory ServerClient::GetHistory(std::string_view objectName)
{
    ObjectHistory history;
    HistoryRequest request{};
    if (!CopyToField(request.objectName, objectName)) {
        history.end = RequestEnd::NameTooLong;
        return history;
    }
    ServerReply reply(server_, RequestType::GetHistory, sizeof request, &request);
    const HistoryReply *record = reply.As<HistoryReply>();
    if (record == nullptr) {
        history.end = RequestEnd::NoReply;
        return history;
    }
    // Only the times that the reply really holds, whatever its count says.
    const std::size_t held =
        (static_cast<std::size_t>(reply.Size()) - sizeof(HistoryReply)) / sizeof(BackupTime);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(record->count, 0)), held);
    history.times.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        history.times.push_back(HistoryTime(*record, i));
    }
    return history;
}

RestoreOutcome ServerClient::Restore(std::string_view objectName, BackupTime version,
                                     bool withSubtree)
{
    RestoreRequest request{};
    if (!CopyToField(request.objectName, objectName)) {
        return {NameTooLongStatus, NameTooLongMessage(objectName), {}};
    }
    request.version = version;
    request.flags = withSubtree ? RestoreWithSubtree : 0;
    ServerReply reply(server_, RequestType::RestoreObject, sizeof request, &request);
    const RestoreReply *restored = reply.As<RestoreReply>();
    if (restored == nullptr) {
        return {NoReplyStatus, kNoReply, {}};
    }
    RestoreOutcome outcome{restored->status, {}, {}};
    if (restored->status != 0) {
        outcome.message = FieldText(restored->message);
    }
    if (const RestoreReport *report = server_.LastRestoreReport()) {
        outcome.written = *report;
    }
    return outcome;
}

std::vector<std::string> ServerClient::TakeNotices()
{
    return server_.TakeNotices();
}

std::string ServerClient::NameTooLongMessage(std::string_view fullName)
{
    const std::size_t shown = MW_Text::WholeCharacters(fullName, NameShownInMessage);
    return "Name too long for the backup server: " + std::string(fullName.substr(0, shown)) +
           (shown < fullName.size() ? "..." : "");
}
