// One snapshot's entries, kept for a comparison with the live directory.
#include "server/directory/SnapshotHoldings.h"

#include <algorithm>
#include <limits>

SnapshotHoldings::SnapshotHoldings(const SnapshotCatalogue &catalogue, const ChangeContext &context,
                                   int64_t seq, std::string (*identityKey)(std::string_view))
    : catalogue_(catalogue), context_(context), seq_(seq), identityKey_(identityKey)
{
}

uint32_t SnapshotHoldings::Examined() const
{
    return static_cast<uint32_t>(
        std::min<std::size_t>(byName_.size(), std::numeric_limits<uint32_t>::max()));
}

uint32_t SnapshotHoldings::Total() const
{
    return Examined();
}

// The whole snapshot, not only below the context: an entry may have moved in from elsewhere.
bool SnapshotHoldings::Load(std::string &fault)
{
    const bool read = catalogue_.Entries(
        seq_,
        [this](const HeldVersion &version) {
            if (!version.identity.empty()) {
                byIdentity_.emplace(identityKey_(version.identity), version.entry.canonical);
            }
            const bool below = context_.Covers(version.entry.canonical);
            below_ += below ? 1 : 0;
            byName_.emplace(version.entry.canonical, Held{version, below, false});
            return true;
        },
        fault);
    loaded_ = read;
    return read;
}

SnapshotHoldings::Held *SnapshotHoldings::ByName(const std::string &canonical)
{
    const auto found = byName_.find(canonical);
    return found != byName_.end() ? &found->second : nullptr;
}

SnapshotHoldings::Held *SnapshotHoldings::ByIdentity(const std::string &key)
{
    const auto found = key.empty() ? byIdentity_.end() : byIdentity_.find(key);
    return found != byIdentity_.end() ? ByName(found->second) : nullptr;
}

// Parents before what they held, as a restore would take them.
std::vector<SnapshotHoldings::Held *> SnapshotHoldings::Unseen()
{
    std::vector<Held *> unseen;
    for (auto &[canonical, held] : byName_) {
        if (held.below && !held.seen) {
            unseen.push_back(&held);
        }
    }
    std::sort(unseen.begin(), unseen.end(), [](const Held *a, const Held *b) {
        const std::string &first = a->version.entry.canonical;
        const std::string &second = b->version.entry.canonical;
        return first.size() != second.size() ? first.size() < second.size() : first < second;
    });
    return unseen;
}
