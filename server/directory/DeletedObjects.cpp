// Searching and reading a domain's deleted objects.
#include "server/directory/DeletedObjects.h"

#include "server/directory/ExtendedDn.h"

DeletedObjects::DeletedObjects(LdapConnection &connection, std::string containerDn)
    : connection_(connection), containerDn_(std::move(containerDn))
{
}

std::string DeletedObjects::ContainerOf(LdapConnection &connection, const std::string &baseDn)
{
    std::optional<LdapEntry> entry;
    const std::string wellKnown = "<WKGUID=18e2ea80684f11d2b9aa00c04f79f805," + baseDn + ">";
    if (connection.Read(wellKnown, {"1.1"}, entry, WithDeleted).Ok() && entry &&
        !entry->dn.empty()) {
        return entry->dn;
    }
    return "CN=Deleted Objects," + baseDn;
}

LdapStatus DeletedObjects::ChildrenOf(const std::string &parentGuid,
                                      const std::vector<std::string> &attributes,
                                      const std::function<void(LdapEntry &&)> &each)
{
    int cutBy = 0;
    const std::string filter =
        "(&(isDeleted=TRUE)(lastKnownParent=" + ExtendedDn::GuidDn(parentGuid) + "))";
    LdapStatus status = connection_.Search(containerDn_, LdapScope::OneLevel, filter, attributes,
                                           WithDeleted, each, cutBy);
    if (status.Ok() && cutBy != 0) {
        return LdapStatus{-1, "the controller cut the list of deleted objects short"};
    }
    return status;
}

LdapStatus DeletedObjects::Search(const std::string &filter,
                                  const std::vector<std::string> &attributes,
                                  const std::function<void(LdapEntry &&)> &each)
{
    int cutBy = 0;
    LdapStatus status = connection_.Search(containerDn_, LdapScope::OneLevel, filter, attributes,
                                           WithDeleted | WithGuids, each, cutBy);
    if (status.Ok() && cutBy != 0) {
        return LdapStatus{-1, "the controller cut the list of deleted objects short"};
    }
    return status;
}

bool DeletedObjects::Holds(const std::string &dn) const
{
    std::optional<DistinguishedName> entry = DistinguishedName::Parse(dn);
    std::optional<DistinguishedName> container = DistinguishedName::Parse(containerDn_);
    if (!entry || !container) {
        return false;
    }
    const std::string canonical = entry->Canonical();
    const std::string top = container->Canonical();
    return canonical.size() >= top.size() &&
           canonical.compare(canonical.size() - top.size(), top.size(), top) == 0 &&
           (canonical.size() == top.size() || canonical[canonical.size() - top.size() - 1] == ',');
}

LdapStatus DeletedObjects::Read(const std::string &guid, const std::vector<std::string> &attributes,
                                std::optional<LdapEntry> &entry)
{
    LdapStatus status =
        connection_.Read(ExtendedDn::GuidDn(guid), attributes, entry, WithDeleted | WithGuids);
    if (status.Ok() && entry) {
        entry->dn = ExtendedDn::Parse(entry->dn).dn;
    }
    return status;
}

RelativeName DeletedObjects::OriginalRdn(const RelativeName &deletedRdn,
                                         const std::vector<std::string> *lastKnownRdn)
{
    RelativeName rdn = deletedRdn;
    if (rdn.size() != 1) {
        return rdn;
    }
    // The deleted name may have been cut to make room for the mark; the last known one is whole.
    if (lastKnownRdn != nullptr && !lastKnownRdn->empty()) {
        rdn.front().value = lastKnownRdn->front();
    } else {
        const std::size_t mark = rdn.front().value.find('\n');
        if (mark != std::string::npos) {
            rdn.front().value.erase(mark);
        }
    }
    return rdn;
}

bool DeletedObjects::IsTrue(const std::vector<std::string> *values)
{
    return values != nullptr && !values->empty() && values->front() == "TRUE";
}
