// One snapshot's entries, kept for a comparison with the live directory.
#include "server/directory/SnapshotHoldings.h"

#include <algorithm>
#include <limits>

SnapshotHoldings::SnapshotHoldings(const SnapshotCatalogue &catalogue, const ChangeContext &context,
                                   int64_t seq, std::string (*identityKey)(std::string_view))
    : catalogue_(catalogue), context_(context), seq_(seq), identityKey_(identityKey),
      lastVersion_(catalogue.LastVersion())
{
}

uint32_t SnapshotHoldings::Examined() const
{
    return static_cast<uint32_t>(std::min<int64_t>(cursor_, std::numeric_limits<uint32_t>::max()));
}

uint32_t SnapshotHoldings::Total() const
{
    return static_cast<uint32_t>(
        std::min<int64_t>(lastVersion_, std::numeric_limits<uint32_t>::max()));
}

bool SnapshotHoldings::Load(std::string &fault)
{
    std::vector<HeldVersion> stretch;
    loaded_ = !catalogue_.HeldBy(seq_, cursor_, kStretch, stretch, fault);
    if (!fault.empty()) {
        return false;
    }
    for (HeldVersion &version : stretch) {
        if (!version.identity.empty()) {
            byIdentity_.emplace(identityKey_(version.identity), version.entry.canonical);
        }
        const bool below = context_.Covers(version.entry.canonical);
        below_ += below ? 1 : 0;
        std::string canonical = version.entry.canonical;
        byName_.emplace(std::move(canonical), Held{std::move(version), below, false});
    }
    return true;
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
