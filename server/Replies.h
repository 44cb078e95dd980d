// The one way a backend makes the replies it hands out: each is allocated with malloc,
// zero-filled, and released by ServerBackend::FreeReply (free). Null when no memory was had, or
// when a child's name does not fit its record (a name is never cut: it could address another
// object); a caller then gives no reply, which the program reads as the end of what it asked.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "server/ObjectChange.h"
#include "server/ServerRecords.h"

class Replies
{
  public:
    // The record that ends a listing: id 0, nothing else set.
    static ObjectRecord *EndOfListing(int32_t &replySize);
    // One child of a listing, with the record's raw kind and state.
    static ObjectRecord *Child(int32_t id, std::string_view name, uint8_t kind, uint8_t state,
                               int32_t &replySize);
    // The backup times of an object, in the given order.
    static HistoryReply *History(std::span<const BackupTime> times, int32_t &replySize);
    // The end of a search's results, with the status of the search (0: it was made).
    static SearchMatch *EndOfSearch(int32_t status, int32_t &replySize);
    // One object a search found, by full name; null when the name does not fit, as for Child.
    static SearchMatch *Match(int32_t id, std::string_view fullName, uint8_t kind, uint8_t state,
                              int32_t &replySize);
    // The outcome of a restore; a message longer than its field keeps its first whole characters.
    static RestoreReply *Restore(int32_t status, std::string_view message, int32_t &replySize);
    // One piece of a value of an object's description (at most ValuePieceSize bytes; more is
    // left out); `continues` when the next record carries more of the same value. An entry's
    // first record (EntrySide) says what exists of it in `presence`.
    static AttributeRecord *AttributePiece(int32_t id, uint8_t side, std::string_view attribute,
                                           std::string_view piece, bool continues,
                                           int32_t &replySize, uint8_t presence = 0);
    // The record that ends a description: its status, what exists, and on a failure the
    // server's reason (cut to a piece, whole characters only).
    // The end of a change report, with its status (0: it was made) and how far it got.
    static ChangeRecord *EndOfChanges(int32_t status, uint32_t examined, uint32_t total,
                                      int32_t &replySize);
    // A record of a report that only tells how far it is.
    static ChangeRecord *ChangeProgress(int32_t id, uint32_t examined, uint32_t total,
                                        int32_t &replySize);
    // One record of a changed object, carrying `attributes` (names a blank apart, at most the
    // field); `more` when the next record carries more of them. Null when a name does not fit.
    static ChangeRecord *Change(int32_t id, const ObjectChange &change, std::string_view attributes,
                                bool more, uint32_t examined, uint32_t total, int32_t &replySize);
    static AttributeRecord *EndOfDescription(int32_t status, uint8_t presence,
                                             std::string_view message, int32_t &replySize);
};
