// An object's description cut into the records that carry it: one record per piece of a value
// (a value longer than a record goes on in the next ones), the backup's attributes first, then
// the live ones, then what its restore would lack; then each other entry a restore writes, begun
// by a record with its name; and the end record with what exists. A backend makes it once per
// description and answers each request by the id received last, as listings are answered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/ObjectDescription.h"

class DescriptionPieces
{
  public:
    DescriptionPieces() = default;
    explicit DescriptionPieces(const ObjectDescription &description,
                               const std::vector<WrittenEntry> &entries = {});
    // A description that could not be made: only the end record, with the status and the reason.
    static DescriptionPieces Failure(int32_t status, std::string reason);

    // The record after lastId, made with Replies (the end record once every piece is out).
    void *Reply(int32_t lastId, int32_t &replySize) const;
    std::size_t Count() const { return pieces_.size(); }

  private:
    struct Piece {
        uint8_t side;
        std::size_t attribute; // in attributes_
        std::string bytes;
        bool continues;
        uint8_t presence; // an entry's (EntrySide)
    };

    void Add(uint8_t side, const std::vector<DescribedAttribute> &attributes);
    // The object's, or an entry's, attributes and what its restore would lack.
    void AddSides(const ObjectDescription &description);
    // One value in pieces of a record's size (at least one piece, also for an empty value).
    void AddValue(uint8_t side, std::size_t attribute, const std::string &value,
                  uint8_t presence = 0);
    static uint8_t PresenceOf(const ObjectDescription &description);

    std::vector<std::string> attributes_;
    std::vector<Piece> pieces_;
    int32_t status_ = 0;
    uint8_t presence_ = 0;
    std::string reason_;
};
