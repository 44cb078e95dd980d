// Typed requests over the record protocol: a listing asks record by record, naming the last child
// received, until the record whose id is 0.
#include "server/ServerClient.h"

#include <algorithm>
#include <cstdint>

#include "mwlib/MW_Text.h"
#include "server/BackupServer.h"
#include "server/ChangeRun.h"
#include "server/RecordFields.h"
#include "server/SearchRun.h"
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
    return TimesOf(RequestType::GetHistory, request);
}

ObjectHistory ServerClient::TimesOf(RequestType type, const HistoryRequest &request)
{
    ObjectHistory history;
    ServerReply reply(server_, type, sizeof request, &request);
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

ObjectHistory ServerClient::BackupTimes()
{
    return TimesOf(RequestType::GetBackupTimes, HistoryRequest{});
}

std::unique_ptr<ChangeRun> ServerClient::StartChanges(std::string_view contextName,
                                                      ChangePoints points)
{
    return std::make_unique<ChangeRun>(server_, contextName, points);
}

bool ServerClient::CanReportChanges()
{
    ChangeRun probe(server_, "", ChangePoints{}, ChangesProbe);
    probe.Next(1, [](ObjectChange &&) {});
    return probe.End() == RequestEnd::Answered;
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

SearchOutcome ServerClient::Search(std::string_view contextName, std::string_view pattern,
                                   bool deletedOnly,
                                   const std::function<void(FoundObject &&)> &each,
                                   const StopCheck &stop)
{
    SearchRun run(server_, contextName, pattern, deletedOnly ? SearchDeletedOnly : 0);
    while (run.Next(SIZE_MAX, each, stop)) {
    }
    return SearchOutcome{run.End(), run.Found(), run.Failure()};
}

std::unique_ptr<SearchRun> ServerClient::StartSearch(std::string_view contextName,
                                                     std::string_view pattern, bool deletedOnly)
{
    return std::make_unique<SearchRun>(server_, contextName, pattern,
                                       deletedOnly ? SearchDeletedOnly : 0);
}

bool ServerClient::CanSearch()
{
    SearchRun probe(server_, "", "", SearchProbe);
    probe.Next(1, [](FoundObject &&) {});
    return probe.End() == RequestEnd::Answered;
}

namespace
{
// Appends one record's piece to what is described: to the value before when that one goes on,
// else as a new value of the side's last attribute or of a new one. A record of EntrySide begins
// the next entry (or goes on with its name), and what follows is that entry's.
class DescriptionGathering
{
  public:
    explicit DescriptionGathering(DescribedObject &described) : described_(described) {}

    void Gather(const AttributeRecord &record)
    {
        const std::string_view piece(record.value,
                                     std::min<std::size_t>(record.length, ValuePieceSize));
        bool goesOn = valueGoesOn_;
        valueGoesOn_ = (record.flags & ValueContinues) != 0;
        if (record.side == EntrySide) {
            if (!goesOn || described_.entries.empty()) {
                described_.entries.push_back(WrittenEntry{});
                ReadPresence(described_.entries.back().description, record.presence);
                described_.entries.back().parent = (record.presence & AddedAsParent) != 0;
            }
            described_.entries.back().fullName.append(piece);
            return;
        }
        ObjectDescription &description = Current();
        if (record.side == NoteSide) {
            description.lacks.append(piece);
            return;
        }
        std::vector<DescribedAttribute> &side =
            record.side == LiveSide ? description.current : description.backup;
        const std::string name = FieldText(record.attribute);
        if (side.empty() || side.back().name != name) {
            side.push_back(DescribedAttribute{name, {}});
            goesOn = false;
        }
        std::vector<std::string> &values = side.back().values;
        if (goesOn && !values.empty()) {
            values.back().append(piece);
        } else {
            values.emplace_back(piece);
        }
    }

    static void ReadPresence(ObjectDescription &description, uint8_t presence)
    {
        description.inBackup = (presence & BackupHolds) != 0;
        description.live = (presence & LiveHolds) != 0;
        description.parentMissing = (presence & ParentMissing) != 0;
        description.parentAddable = (presence & ParentAddable) != 0;
    }

  private:
    ObjectDescription &Current()
    {
        return described_.entries.empty() ? described_.description
                                          : described_.entries.back().description;
    }

    DescribedObject &described_;
    bool valueGoesOn_ = false;
};
} // namespace

DescribedObject ServerClient::Describe(std::string_view objectName, BackupTime version,
                                       const StopCheck &stop)
{
    return Describe(objectName, version, 0, stop);
}

DescribedObject ServerClient::DescribeRestore(std::string_view objectName, BackupTime version,
                                              bool withSubtree, const StopCheck &stop)
{
    return Describe(objectName, version, DescribeWrites | (withSubtree ? DescribeWithSubtree : 0u),
                    stop);
}

DescribedObject ServerClient::Describe(std::string_view objectName, BackupTime version,
                                       uint32_t flags, const StopCheck &stop)
{
    DescribedObject described;
    DescribeRequest request{};
    if (!CopyToField(request.objectName, objectName)) {
        described.end = RequestEnd::NameTooLong;
        return described;
    }
    request.version = version;
    request.flags = flags;
    DescriptionGathering gathering(described);
    for (;;) {
        ServerReply reply(server_, RequestType::DescribeObject, sizeof request, &request);
        const AttributeRecord *record = reply.As<AttributeRecord>();
        if (record == nullptr) {
            described.end = RequestEnd::NoReply;
            described.failure = kNoReply;
            break;
        }
        if (record->id == 0) {
            DescriptionGathering::ReadPresence(described.description, record->presence);
            if (record->status == DescribeNotOffered) {
                described.end = RequestEnd::NotOffered;
                described.failure = kCannotCompare;
            } else if (record->status != 0) {
                described.end = RequestEnd::Failed;
                described.failure.assign(record->value,
                                         std::min<std::size_t>(record->length, ValuePieceSize));
            }
            break;
        }
        if (stop && stop()) {
            described.end = RequestEnd::Stopped;
            break;
        }
        gathering.Gather(*record);
        request.lastId = record->id;
    }
    return described;
}

bool ServerClient::CanDescribe()
{
    if (describes_.load() == Describes::Unknown) {
        describes_ = Describe("", 0).end != RequestEnd::NotOffered ? Describes::Yes : Describes::No;
    }
    return describes_.load() == Describes::Yes;
}

std::vector<std::string> ServerClient::TakeNotices()
{
    return server_.TakeNotices();
}

std::string ServerClient::NameTooLongMessage(std::string_view fullName)
{
    // The start and the end: in a full name the end says where the object lies.
    const std::string_view kEllipsis = "...";
    if (fullName.size() <= 2 * NameShownInMessage + kEllipsis.size()) {
        return "Name too long for the backup server: " + std::string(fullName);
    }
    const std::size_t head = MW_Text::WholeCharacters(fullName, NameShownInMessage);
    std::size_t tail = fullName.size() - NameShownInMessage;
    while (tail < fullName.size() && (static_cast<unsigned char>(fullName[tail]) & 0xC0) == 0x80) {
        ++tail; // not in the middle of a character
    }
    return "Name too long for the backup server: " + std::string(fullName.substr(0, head)) +
           std::string(kEllipsis) + std::string(fullName.substr(tail));
}

void ServerClient::WatchAbandon(const std::atomic<bool> *flag)
{
    server_.WatchAbandon(flag);
}
