// The entries one snapshot holds, read from the catalogue's index at once and kept
// for a report against the live directory: found by name or by identity as the live entries come,
// each marked once the live directory was seen to hold it (where it was, or moved).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/directory/ChangeContext.h"
#include "server/directory/SnapshotCatalogue.h"

class SnapshotHoldings
{
  public:
    struct Held {
        HeldVersion version;
        bool below = false; // the context or an entry below it
        bool seen = false;  // the live directory holds the object
    };

    // The catalogue must outlive the holdings. `identityKey` turns an identity as the index
    // keeps it into the form the live directory gives it in.
    SnapshotHoldings(const SnapshotCatalogue &catalogue, const ChangeContext &context, int64_t seq,
                     std::string (*identityKey)(std::string_view));

    // Reads the snapshot; false, with the reason in `fault`, when the index cannot be read.
    bool Load(std::string &fault);
    bool Loaded() const { return loaded_; }
    uint32_t Examined() const;
    uint32_t Total() const;
    // Entries below the context.
    std::size_t Below() const { return below_; }

    // The entry by its canonical name, or by its identity in the live form; null when the
    // snapshot does not hold it.
    Held *ByName(const std::string &canonical);
    Held *ByIdentity(const std::string &key);
    std::string KeyOf(const Held &held) const { return identityKey_(held.version.identity); }
    // The entries below the context the live directory was not seen to hold.
    std::vector<Held *> Unseen();

  private:
    const SnapshotCatalogue &catalogue_;
    const ChangeContext &context_;
    const int64_t seq_;
    std::string (*identityKey_)(std::string_view);
    bool loaded_ = false;
    std::size_t below_ = 0;
    std::unordered_map<std::string, Held> byName_;
    std::unordered_map<std::string, std::string> byIdentity_; // to canonical names
};
