// Reading an entry from its snapshot and from the live directory.
#include "server/directory/DirectoryDescription.h"

#include <optional>

#include "catalogue/DistinguishedName.h"
#include "server/directory/DirectoryRestore.h"

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
    if (const std::optional<ArchivedEntry> held = catalogue_.Holding(canonical, version)) {
        std::string fault;
        std::optional<LdifEntry> read = catalogue_.Read(*held, fault);
        if (!read) {
            return LdapStatus{DirectoryRestore::NotInCatalogue, dn + ": " + fault};
        }
        description.inBackup = true;
        description.backup = UserAttributes(
            DirectoryRestore::Grouped(*read, [](const std::string &) { return true; }));
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
    return DescribeParent(dn, connection_.LastMatched(), description);
}

// The server names the nearest entry that exists above a missing one; when it does not, the
// parent is read.
LdapStatus DirectoryDescription::DescribeParent(const std::string &dn, const std::string &matched,
                                                ObjectDescription &description)
{
    std::optional<DistinguishedName> name = DistinguishedName::Parse(dn);
    if (!name || name->Parent().Empty()) {
        return LdapStatus{};
    }
    const DistinguishedName parent = name->Parent();
    std::optional<DistinguishedName> nearest = DistinguishedName::Parse(matched);
    bool parentLive = false;
    if (!matched.empty() && nearest) {
        parentLive = nearest->Canonical() == parent.Canonical();
    } else {
        std::optional<LdapEntry> live;
        LdapStatus status = connection_.Read(parent.Text(), {"1.1"}, live);
        if (!status.Ok()) {
            return LdapStatus{status.code, parent.Text() + ": " + status.text};
        }
        parentLive = live.has_value();
    }
    description.parentMissing = !parentLive;
    description.parentAddable =
        !parentLive && catalogue_.Holding(parent.Canonical(), 0).has_value();
    return LdapStatus{};
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
