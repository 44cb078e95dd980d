// Cutting a description into records, and answering by the id received last.
#include "server/DescriptionPieces.h"

#include <algorithm>

#include "server/Replies.h"
#include "server/ServerRecords.h"

DescriptionPieces::DescriptionPieces(const ObjectDescription &description,
                                     const std::vector<WrittenEntry> &entries)
{
    AddSides(description);
    for (const WrittenEntry &entry : entries) {
        attributes_.emplace_back();
        const uint8_t presence = static_cast<uint8_t>(PresenceOf(entry.description) |
                                                      (entry.parent ? AddedAsParent : 0));
        AddValue(EntrySide, attributes_.size() - 1, entry.fullName, presence);
        AddSides(entry.description);
    }
    presence_ = PresenceOf(description);
}

uint8_t DescriptionPieces::PresenceOf(const ObjectDescription &description)
{
    return static_cast<uint8_t>((description.inBackup ? BackupHolds : 0) |
                                (description.live ? LiveHolds : 0) |
                                (description.parentMissing ? ParentMissing : 0) |
                                (description.parentAddable ? ParentAddable : 0));
}

void DescriptionPieces::AddSides(const ObjectDescription &description)
{
    Add(BackupSide, description.backup);
    Add(LiveSide, description.current);
    if (!description.lacks.empty()) {
        attributes_.emplace_back();
        AddValue(NoteSide, attributes_.size() - 1, description.lacks);
    }
}

DescriptionPieces DescriptionPieces::Failure(int32_t status, std::string reason)
{
    DescriptionPieces pieces;
    pieces.status_ = status;
    pieces.reason_ = std::move(reason);
    return pieces;
}

void DescriptionPieces::Add(uint8_t side, const std::vector<DescribedAttribute> &attributes)
{
    for (const DescribedAttribute &attribute : attributes) {
        const std::size_t name = attributes_.size();
        attributes_.push_back(attribute.name);
        for (const std::string &value : attribute.values) {
            AddValue(side, name, value);
        }
    }
}

void DescriptionPieces::AddValue(uint8_t side, std::size_t attribute, const std::string &value,
                                 uint8_t presence)
{
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(ValuePieceSize, value.size() - at);
        pieces_.push_back(
            {side, attribute, value.substr(at, length), at + length < value.size(), presence});
        at += length;
    } while (at < value.size());
}

void *DescriptionPieces::Reply(int32_t lastId, int32_t &replySize) const
{
    const std::size_t index = static_cast<std::size_t>(std::max(lastId, 0));
    if (lastId < 0 || index >= pieces_.size()) {
        return Replies::EndOfDescription(status_, presence_, reason_, replySize);
    }
    const Piece &piece = pieces_[index];
    return Replies::AttributePiece(static_cast<int32_t>(index + 1), piece.side,
                                   attributes_[piece.attribute], piece.bytes, piece.continues,
                                   replySize, piece.presence);
}
