// Reading an entry from its snapshot and from the live directory.
#include "server/directory/DirectoryDescription.h"

#include <optional>

#include "server/directory/DirectoryRestore.h"
#include "server/directory/DistinguishedName.h"

DirectoryDescription::DirectoryDescription(LdapConnection &connection,
                                           const SnapshotCatalogue &catalogue,
                                           const OperationalAttributes &operational)
    : connection_(connection), catalogue_(catalogue), operational_(operational)
{
}

LdapStatus DirectoryDescription::Describe(const std::string &dn, const std::string &canonical,
                                          BackupTime version, ObjectDescription &description)
{
    description = ObjectDescription{};
    if (const Snapshot *snapshot = catalogue_.Holding(canonical, version)) {
        std::string fault;
        std::optional<LdifEntry> read = snapshot->Read(*snapshot->Find(canonical), fault);
        if (!read) {
            return LdapStatus{DirectoryRestore::NotInCatalogue, dn + ": " + fault};
        }
        description.inBackup = true;
        description.backup = UserAttributes(DirectoryRestore::Grouped(
            *read, [](const std::string &) { return true; }));
    }
    std::optional<LdapEntry> live;
    LdapStatus status = connection_.Read(dn, {"*"}, live);
    if (!status.Ok()) {
        return LdapStatus{status.code, dn + ": " + status.text};
    }
    if (live) {
        description.live = true;
        description.current = UserAttributes(live->attributes);
        return status;
    }
    return DescribeParent(dn, description);
}

LdapStatus DirectoryDescription::DescribeParent(const std::string &dn,
                                                ObjectDescription &description)
{
    std::optional<DistinguishedName> name = DistinguishedName::Parse(dn);
    if (!name || name->Parent().Empty()) {
        return LdapStatus{};
    }
    const DistinguishedName parent = name->Parent();
    std::optional<LdapEntry> live;
    LdapStatus status = connection_.Read(parent.Text(), {"1.1"}, live);
    if (!status.Ok()) {
        return LdapStatus{status.code, parent.Text() + ": " + status.text};
    }
    description.parentMissing = !live;
    description.parentAddable = !live && catalogue_.Holding(parent.Canonical(), 0) != nullptr;
    return status;
}

std::vector<DescribedAttribute>
DirectoryDescription::UserAttributes(const LdapAttributes &attributes) const
{
    std::vector<DescribedAttribute> kept;
    for (const auto &[description, values] : attributes) {
        if (!operational_.Contains(description)) {
            kept.push_back({description, values});
        }
    }
    return kept;
}
