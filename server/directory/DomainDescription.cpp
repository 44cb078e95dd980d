// Reading a domain's object as kept, as a snapshot holds it, and as it lives.
#include "server/directory/DomainDescription.h"

#include <optional>

#include "catalogue/AsciiCase.h"
#include "catalogue/DistinguishedName.h"
#include "server/directory/DirectoryRestore.h"
#include "server/directory/DomainRestore.h"
#include "server/directory/ExtendedDn.h"

namespace
{
std::string Canonical(const std::string &dn)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    return parsed ? parsed->Canonical() : LowerAscii(dn);
}

std::string TypeOf(const std::string &description)
{
    return LowerAscii(description.substr(0, description.find(';')));
}

bool Holds(const std::vector<DescribedAttribute> &attributes, const std::string &description)
{
    for (const DescribedAttribute &attribute : attributes) {
        if (LowerAscii(attribute.name) == LowerAscii(description)) {
            return true;
        }
    }
    return false;
}

// A deleted object's naming attribute holds its name with the deleted mark: it shows the name
// the object had, which is the one it gets back.
void ShowOriginalName(const LdapEntry &kept, std::vector<DescribedAttribute> &attributes)
{
    std::optional<DistinguishedName> dn = DistinguishedName::Parse(kept.dn);
    if (!dn || dn->Empty() || dn->Rdns().front().size() != 1) {
        return;
    }
    const RelativeName original =
        DeletedObjects::OriginalRdn(dn->Rdns().front(), kept.Values("msDS-LastKnownRDN"));
    const std::string type = LowerAscii(original.front().type);
    for (DescribedAttribute &attribute : attributes) {
        if (TypeOf(attribute.name) == type) {
            attribute.values = {original.front().value};
        }
    }
}
} // namespace

DomainDescription::DomainDescription(LdapConnection &connection, DeletedObjects &deleted,
                                     const SnapshotCatalogue &catalogue,
                                     const OperationalAttributes &operational,
                                     DomainRestore &restore)
    : connection_(connection), deleted_(deleted), catalogue_(catalogue), operational_(operational),
      restore_(restore)
{
}

LdapStatus DomainDescription::Describe(const DomainObject &object, BackupTime version,
                                       ObjectDescription &description)
{
    description = ObjectDescription{};
    std::optional<LdapEntry> kept;
    LdapStatus status = deleted_.Read(object.guid, {"*"}, kept);
    if (!status.Ok()) {
        return LdapStatus{status.code, object.originalDn + ": " + status.text};
    }
    if (!kept) {
        return LdapStatus{DomainRestore::NotRestored,
                          object.originalDn + " is gone from the controller"};
    }
    const bool deleted = DeletedObjects::IsTrue(kept->Values("isDeleted"));
    const std::string canonical = Canonical(object.originalDn);
    // The time of its present state as the controller has it now: it may have been deleted, or
    // brought back, since it was listed.
    const std::vector<std::string> *changed = kept->Values("whenChanged");
    const BackupTime now =
        changed != nullptr && !changed->empty() ? DomainListing::Seconds(changed->front()) : 0;
    if (version == 0 || version == now) {
        description.inBackup = true;
        description.backup = ShownOf(kept->attributes);
        if (deleted) {
            ShowOriginalName(*kept, description.backup);
            AddWhatItLacks(canonical, description.backup);
        }
    } else if (const std::optional<ArchivedEntry> held = catalogue_.Holding(canonical, version)) {
        status = ReadSnapshot(*held, description.backup);
        if (!status.Ok()) {
            return status;
        }
        description.inBackup = true;
    }
    if (!deleted) {
        description.live = true;
        description.current = ShownOf(kept->attributes);
        return status;
    }
    return CheckReturn(object, *kept, description);
}

// A deleted object comes back under its name below its last known parent, which must be live:
// a restore never adds a parent itself.
LdapStatus DomainDescription::CheckReturn(const DomainObject &object, const LdapEntry &kept,
                                          ObjectDescription &description)
{
    const std::vector<std::string> *link = kept.Values("lastKnownParent");
    std::optional<LdapEntry> parent;
    if (link != nullptr && !link->empty()) {
        const ExtendedDn parentName = ExtendedDn::Parse(link->front());
        LdapStatus status =
            parentName.guid.empty()
                ? connection_.Read(parentName.dn, {"isDeleted"}, parent, WithDeleted)
                : deleted_.Read(parentName.guid, {"isDeleted"}, parent);
        if (!status.Ok()) {
            return LdapStatus{status.code, parentName.dn + ": " + status.text};
        }
    }
    description.parentMissing = !parent || DeletedObjects::IsTrue(parent->Values("isDeleted"));
    if (description.parentMissing) {
        return LdapStatus{};
    }
    LdapStatus refused = restore_.CheckReturn(kept, object.originalDn);
    constexpr std::string_view kNotRestored = "Not restored: ";
    if (refused.text.starts_with(kNotRestored)) {
        refused.text.erase(0, kNotRestored.size()); // said as why it cannot be restored
    }
    return refused;
}

LdapStatus DomainDescription::ReadSnapshot(const ArchivedEntry &held,
                                           std::vector<DescribedAttribute> &attributes) const
{
    std::string fault;
    std::optional<LdifEntry> read = catalogue_.Read(held, fault);
    if (!read) {
        return LdapStatus{DomainRestore::NotRestored, held.canonical + ": " + fault};
    }
    attributes =
        ShownOf(DirectoryRestore::Grouped(*read, [](const std::string &) { return true; }));
    return LdapStatus{};
}

// What the tombstone lost comes back from the newest snapshot that holds the object.
void DomainDescription::AddWhatItLacks(const std::string &canonical,
                                       std::vector<DescribedAttribute> &kept) const
{
    const std::optional<ArchivedEntry> newest = catalogue_.Holding(canonical, 0);
    std::vector<DescribedAttribute> saved;
    if (!newest || !ReadSnapshot(*newest, saved).Ok()) {
        return;
    }
    for (DescribedAttribute &attribute : saved) {
        if (!Holds(kept, attribute.name)) {
            kept.push_back(std::move(attribute));
        }
    }
}

bool DomainDescription::Shown(const std::string &description) const
{
    return !operational_.Contains(description) &&
           !DomainRestore::KeptByController(TypeOf(description));
}

std::vector<DescribedAttribute> DomainDescription::ShownOf(const LdapAttributes &attributes) const
{
    std::vector<DescribedAttribute> shown;
    for (const auto &[description, values] : attributes) {
        if (Shown(description)) {
            shown.push_back({description, values});
        }
    }
    return shown;
}
