// Adding and modifying entries from a snapshot.
#include "server/directory/DirectoryRestore.h"

#include <strings.h>

#include <algorithm>
#include <ctime>

#include "catalogue/DistinguishedName.h"
#include "server/AttributeSets.h"

namespace
{
bool SameDescription(const std::string &a, const std::string &b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

const std::vector<std::string> *ValuesOf(const LdapAttributes &attributes,
                                         const std::string &description)
{
    for (const auto &[name, values] : attributes) {
        if (SameDescription(name, description)) {
            return &values;
        }
    }
    return nullptr;
}

} // namespace

LdapStatus DirectoryRestore::Failed(const std::string &dn, const LdapStatus &status)
{
    failedEntry_ = dn;
    return status;
}

DirectoryRestore::DirectoryRestore(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                                   const OperationalAttributes &operational)
    : connection_(connection), catalogue_(catalogue), operational_(operational)
{
}

LdapStatus DirectoryRestore::Run(const std::string &canonical, BackupTime version, bool subtree)
{
    failedEntry_.clear();
    std::vector<Write> writes;
    LdapStatus status = Plan(canonical, version, subtree, writes);
    for (std::size_t i = 0; status.Ok() && i < writes.size(); ++i) {
        const Write &write = writes[i];
        status = RestoreEntry(write.entry, write.parent ? parentsAdded_ : added_);
    }
    return status;
}

LdapStatus DirectoryRestore::Plan(const std::string &canonical, BackupTime version, bool subtree,
                                  std::vector<Write> &writes, bool ancestorsLive)
{
    const std::optional<ArchivedEntry> held = catalogue_.Holding(canonical, version);
    if (!held) {
        return LdapStatus{NotInCatalogue, version == 0 ? "No snapshot holds it"
                                                       : "The snapshot of " + TimeText(version) +
                                                             " does not hold it"};
    }
    std::vector<ArchivedEntry> entries =
        subtree ? catalogue_.Subtree(*held) : std::vector<ArchivedEntry>{*held};
    LdapStatus status = ancestorsLive ? LdapStatus{} : MissingAncestors(held->dn, *held, writes);
    if (!status.Ok()) {
        return status;
    }
    for (ArchivedEntry &entry : entries) {
        writes.push_back(Write{std::move(entry), false});
    }
    return status;
}

// The ancestors that the live directory lacks, from the top down, out of the chosen snapshot or
// else the newest that holds them.
LdapStatus DirectoryRestore::MissingAncestors(const std::string &dn, const ArchivedEntry &chosen,
                                              std::vector<Write> &writes)
{
    std::optional<DistinguishedName> name = DistinguishedName::Parse(dn);
    std::vector<DistinguishedName> missing;
    for (DistinguishedName parent = name ? name->Parent() : DistinguishedName(); !parent.Empty();
         parent = parent.Parent()) {
        std::optional<LdapEntry> live;
        LdapStatus status = connection_.Read(parent.Text(), {"1.1"}, live);
        if (!status.Ok()) {
            return Failed(parent.Text(), status);
        }
        if (live) {
            break;
        }
        missing.push_back(parent);
    }
    for (auto ancestor = missing.rbegin(); ancestor != missing.rend(); ++ancestor) {
        const std::string canonical = ancestor->Canonical();
        std::optional<ArchivedEntry> held = catalogue_.Beside(canonical, chosen);
        if (!held) {
            held = catalogue_.Holding(canonical, 0);
        }
        if (!held) {
            return Failed(ancestor->Text(),
                          LdapStatus{NotInCatalogue, "missing, and no snapshot holds it"});
        }
        writes.push_back(Write{std::move(*held), true});
    }
    return LdapStatus{};
}

std::string DirectoryRestore::TimeText(BackupTime time)
{
    const std::time_t seconds = time;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

LdapAttributes DirectoryRestore::Grouped(const LdifEntry &entry,
                                         const std::function<bool(const std::string &)> &keep)
{
    LdapAttributes attributes;
    for (const LdifAttribute &line : entry.attributes) {
        if (!keep(line.description)) {
            continue;
        }
        auto same = std::find_if(attributes.begin(), attributes.end(), [&](const auto &known) {
            return SameDescription(known.first, line.description);
        });
        if (same == attributes.end()) {
            attributes.emplace_back(line.description, std::vector<std::string>{line.value});
        } else {
            same->second.push_back(line.value);
        }
    }
    return attributes;
}

LdapAttributes DirectoryRestore::UserAttributes(const LdifEntry &entry) const
{
    return Grouped(entry, [this](const std::string &description) {
        return !operational_.Contains(description);
    });
}

std::vector<LdapModification>
DirectoryRestore::Differences(const LdapAttributes &live, const LdapAttributes &snapshot,
                              const OperationalAttributes &operational)
{
    std::vector<LdapModification> modifications;
    for (const auto &[description, values] : snapshot) {
        const std::vector<std::string> *current = ValuesOf(live, description);
        if (!operational.Contains(description) &&
            (current == nullptr || !AttributeSets::SameValues(*current, values))) {
            modifications.push_back({LdapModification::Replace, description, values});
        }
    }
    for (const auto &[description, values] : live) {
        if (!operational.Contains(description) && ValuesOf(snapshot, description) == nullptr) {
            modifications.push_back({LdapModification::Delete, description, {}});
        }
    }
    return modifications;
}

LdapStatus DirectoryRestore::RestoreEntry(const ArchivedEntry &entry,
                                          std::vector<std::string> &added)
{
    std::string fault;
    std::optional<LdifEntry> read = catalogue_.Read(entry, fault);
    if (!read) {
        return Failed(entry.dn, LdapStatus{NotInCatalogue, fault});
    }
    const LdapAttributes attributes = UserAttributes(*read);
    std::optional<LdapEntry> live;
    LdapStatus status = connection_.Read(entry.dn, {"*"}, live);
    if (!status.Ok()) {
        return Failed(entry.dn, status);
    }
    if (!live) {
        status = connection_.Add(entry.dn, attributes);
        if (!status.Ok()) {
            return Failed(entry.dn, status);
        }
        added.push_back(entry.dn);
        return status;
    }
    const std::vector<LdapModification> modifications =
        Differences(live->attributes, attributes, operational_);
    if (modifications.empty()) {
        return status;
    }
    status = connection_.Modify(live->dn, modifications);
    modified_ += status.Ok() ? 1 : 0;
    return status.Ok() ? status : Failed(entry.dn, status);
}
