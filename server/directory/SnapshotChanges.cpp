// Two snapshots compared through the catalogue's index.
#include "server/directory/SnapshotChanges.h"

#include <algorithm>
#include <limits>

#include "server/directory/DirectoryRestore.h"

namespace
{
uint32_t Counted(int64_t count)
{
    return static_cast<uint32_t>(std::min<int64_t>(count, std::numeric_limits<uint32_t>::max()));
}

} // namespace

SnapshotChanges::SnapshotChanges(const SnapshotCatalogue &catalogue, ChangeContext context,
                                 int64_t earlier, int64_t later)
    : catalogue_(catalogue), context_(std::move(context)), earlier_(earlier), later_(later)
{
}

uint32_t SnapshotChanges::Examined() const
{
    return Counted(static_cast<int64_t>(next_));
}

uint32_t SnapshotChanges::Total() const
{
    return Counted(static_cast<int64_t>(differing_.size()));
}

// The first part asks the index which entries differ; the next ones look at them.
bool SnapshotChanges::Next(std::vector<ObjectChange> &found, std::string &fault)
{
    if (!scanned_) {
        scanned_ = true;
        return catalogue_.Changes(
            earlier_, later_,
            [this](const EntryChange &change) {
                differing_.push_back(change);
                return true;
            },
            fault);
    }
    const std::size_t end = std::min(differing_.size(), next_ + kStretch);
    for (; next_ < end; ++next_) {
        Take(differing_[next_], found, fault);
        if (!fault.empty()) {
            return false;
        }
    }
    if (next_ == differing_.size()) {
        Finish(found);
        done_ = true;
    }
    return true;
}

void SnapshotChanges::Take(const EntryChange &entry, std::vector<ObjectChange> &found,
                           std::string &fault)
{
    if (entry.before && entry.after) {
        Modified(*entry.before, *entry.after, found, fault);
    } else if (entry.before) {
        const HeldVersion &gone = *entry.before;
        const auto partner = came_.find(gone.identity);
        if (gone.identity.empty()) {
            goneUnknown_.push_back(gone);
        } else if (partner != came_.end()) {
            Moved(gone, partner->second, found, fault);
            came_.erase(partner);
        } else {
            gone_.emplace(gone.identity, gone);
        }
    } else if (entry.after) {
        const HeldVersion &came = *entry.after;
        const auto partner = gone_.find(came.identity);
        if (came.identity.empty()) {
            cameUnknown_.push_back(came);
        } else if (partner != gone_.end()) {
            Moved(partner->second, came, found, fault);
            gone_.erase(partner);
        } else {
            came_.emplace(came.identity, came);
        }
    }
}

void SnapshotChanges::Modified(const HeldVersion &earlier, const HeldVersion &later,
                               std::vector<ObjectChange> &found, std::string &fault)
{
    if (!context_.Covers(later.entry.canonical)) {
        return;
    }
    std::vector<std::string> names;
    if (!Differing(earlier, later, names, fault) || names.empty()) {
        return; // only what the directory keeps for itself changed
    }
    ObjectChange change = ObjectChange::Of(ChangeKind::Modified, context_.fullName(later.entry.dn),
                                           IsContainer(later));
    change.attributes = std::move(names);
    found.push_back(std::move(change));
}

void SnapshotChanges::Moved(const HeldVersion &earlier, const HeldVersion &later,
                            std::vector<ObjectChange> &found, std::string &fault)
{
    if (!context_.Covers(earlier.entry.canonical) && !context_.Covers(later.entry.canonical)) {
        return;
    }
    ObjectChange change =
        ObjectChange::Of(ChangeKind::Moved, context_.fullName(later.entry.dn), IsContainer(later));
    change.oldName = context_.fullName(earlier.entry.dn);
    change.oldNameFree = !catalogue_.Beside(earlier.entry.canonical, later.entry).has_value();
    if (Differing(earlier, later, change.attributes, fault)) {
        found.push_back(std::move(change));
    }
}

bool SnapshotChanges::Differing(const HeldVersion &earlier, const HeldVersion &later,
                                std::vector<std::string> &names, std::string &fault) const
{
    std::string why;
    const std::optional<LdifEntry> before = catalogue_.Read(earlier.entry, why);
    const std::optional<LdifEntry> after =
        before ? catalogue_.Read(later.entry, why) : std::nullopt;
    if (!after) {
        fault = earlier.entry.dn + ": " + why;
        return false;
    }
    const auto all = [](const std::string &) { return true; };
    names = context_.Differing(DirectoryRestore::Grouped(*before, all),
                               DirectoryRestore::Grouped(*after, all));
    return true;
}

bool SnapshotChanges::IsContainer(const HeldVersion &version) const
{
    return version.containerClass || catalogue_.WasContainer(version.entry.canonical);
}

// Parents before what they held (a parent's name is a part of its children's), so that a
// restore taken from the list in its order puts a container back first.
void SnapshotChanges::Finish(std::vector<ObjectChange> &found)
{
    std::vector<std::pair<const HeldVersion *, ChangeKind>> left;
    for (const auto &[identity, version] : gone_) {
        left.emplace_back(&version, ChangeKind::Deleted);
    }
    for (const auto &[identity, version] : came_) {
        left.emplace_back(&version, ChangeKind::Added);
    }
    for (const HeldVersion &version : goneUnknown_) {
        left.emplace_back(&version, ChangeKind::Deleted);
    }
    for (const HeldVersion &version : cameUnknown_) {
        left.emplace_back(&version, ChangeKind::Added);
    }
    std::erase_if(left,
                  [this](const auto &one) { return !context_.Covers(one.first->entry.canonical); });
    std::sort(left.begin(), left.end(), [](const auto &a, const auto &b) {
        const std::string &first = a.first->entry.canonical;
        const std::string &second = b.first->entry.canonical;
        return first.size() != second.size() ? first.size() < second.size() : first < second;
    });
    for (const auto &[version, kind] : left) {
        found.push_back(
            ObjectChange::Of(kind, context_.fullName(version->entry.dn), IsContainer(*version)));
    }
}
