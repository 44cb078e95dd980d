// Reply records, allocated zero-filled for FreeReply to release.
#include "server/Replies.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "server/RecordFields.h"

namespace
{
template <typename Record> Record *Allocate(std::size_t size, int32_t &replySize)
{
    replySize = static_cast<int32_t>(size);
    return static_cast<Record *>(std::calloc(1, size));
}
} // namespace

ObjectRecord *Replies::EndOfListing(int32_t &replySize)
{
    return Allocate<ObjectRecord>(sizeof(ObjectRecord), replySize);
}

ObjectRecord *Replies::Child(int32_t id, std::string_view name, uint8_t kind, uint8_t state,
                             int32_t &replySize)
{
    if (name.size() >= NameFieldSize) {
        return nullptr;
    }
    auto *record = Allocate<ObjectRecord>(sizeof(ObjectRecord), replySize);
    if (record != nullptr) {
        record->id = id;
        CopyToField(record->name, name);
        record->kind = kind;
        record->state = state;
    }
    return record;
}

HistoryReply *Replies::History(std::span<const BackupTime> times, int32_t &replySize)
{
    auto *reply = Allocate<HistoryReply>(HistoryReplySize(times.size()), replySize);
    if (reply != nullptr) {
        reply->count = static_cast<int32_t>(times.size());
        for (std::size_t i = 0; i < times.size(); ++i) {
            SetHistoryTime(*reply, i, times[i]);
        }
    }
    return reply;
}

RestoreReply *Replies::Restore(int32_t status, std::string_view message, int32_t &replySize)
{
    auto *reply = Allocate<RestoreReply>(sizeof(RestoreReply), replySize);
    if (reply != nullptr) {
        reply->status = status;
        CopyCutToField(reply->message, message);
    }
    return reply;
}

SearchMatch *Replies::EndOfSearch(int32_t status, int32_t &replySize)
{
    auto *record = Allocate<SearchMatch>(sizeof(SearchMatch), replySize);
    if (record != nullptr) {
        record->status = status;
    }
    return record;
}

SearchMatch *Replies::Match(int32_t id, std::string_view fullName, uint8_t kind, uint8_t state,
                            int32_t &replySize)
{
    if (fullName.size() >= NameFieldSize) {
        return nullptr;
    }
    auto *record = Allocate<SearchMatch>(sizeof(SearchMatch), replySize);
    if (record != nullptr) {
        record->id = id;
        CopyToField(record->fullName, fullName);
        record->kind = kind;
        record->state = state;
    }
    return record;
}

AttributeRecord *Replies::AttributePiece(int32_t id, uint8_t side, std::string_view attribute,
                                         std::string_view piece, bool continues, int32_t &replySize,
                                         uint8_t presence)
{
    auto *record = Allocate<AttributeRecord>(sizeof(AttributeRecord), replySize);
    if (record != nullptr) {
        record->id = id;
        record->side = side;
        record->flags = continues ? ValueContinues : 0;
        record->presence = presence;
        CopyCutToField(record->attribute, attribute);
        record->length = static_cast<uint32_t>(std::min(piece.size(), ValuePieceSize));
        std::memcpy(record->value, piece.data(), record->length);
    }
    return record;
}

AttributeRecord *Replies::EndOfDescription(int32_t status, uint8_t presence,
                                           std::string_view message, int32_t &replySize)
{
    auto *record = Allocate<AttributeRecord>(sizeof(AttributeRecord), replySize);
    if (record != nullptr) {
        record->status = status;
        record->presence = presence;
        const std::size_t length = MW_Text::WholeCharacters(message, ValuePieceSize);
        record->length = static_cast<uint32_t>(length);
        std::memcpy(record->value, message.data(), length);
    }
    return record;
}

ChangeRecord *Replies::EndOfChanges(int32_t status, uint32_t examined, uint32_t total,
                                    int32_t &replySize)
{
    auto *record = Allocate<ChangeRecord>(sizeof(ChangeRecord), replySize);
    if (record != nullptr) {
        record->status = status;
        record->examined = examined;
        record->total = total;
    }
    return record;
}

ChangeRecord *Replies::ChangeProgress(int32_t id, uint32_t examined, uint32_t total,
                                      int32_t &replySize)
{
    auto *record = Allocate<ChangeRecord>(sizeof(ChangeRecord), replySize);
    if (record != nullptr) {
        record->id = id;
        record->change = NoChange;
        record->examined = examined;
        record->total = total;
    }
    return record;
}

ChangeRecord *Replies::Change(int32_t id, const ObjectChange &change, std::string_view attributes,
                              bool more, uint32_t examined, uint32_t total, int32_t &replySize)
{
    if (change.fullName.size() >= NameFieldSize || change.oldName.size() >= NameFieldSize) {
        return nullptr;
    }
    auto *record = Allocate<ChangeRecord>(sizeof(ChangeRecord), replySize);
    if (record == nullptr) {
        return nullptr;
    }
    static constexpr uint8_t kChanges[] = {ObjectDeleted, ObjectAdded, ObjectModified, ObjectMoved};
    record->id = id;
    record->change = kChanges[static_cast<int>(change.change)];
    record->kind = change.container ? ContainerObjectKind : LeafObjectKind;
    record->flags =
        static_cast<uint8_t>((more ? MoreAttributes : 0) | (change.oldNameFree ? OldNameFree : 0));
    record->deletedAt = change.deletedAt;
    record->examined = examined;
    record->total = total;
    CopyToField(record->fullName, change.fullName);
    CopyToField(record->oldName, change.oldName);
    CopyCutToField(record->attributes, attributes);
    return record;
}
