// Live and deleted objects of a domain by name.
#include "server/directory/DomainSearch.h"

#include <ldap.h>

#include <algorithm>
#include <map>
#include <utility>

#include "catalogue/AsciiCase.h"
#include "server/directory/DirectorySearch.h"
#include "server/directory/ExtendedDn.h"
#include "server/directory/FilterValue.h"

namespace
{
// As a listing shows a deleted object that shares its name with a sibling.
constexpr std::size_t GuidShown = 8;
// Deleted containers nest no deeper than a directory does.
constexpr int MostLevels = 64;

const std::vector<std::string> &DeletedAttributes()
{
    static const std::vector<std::string> attributes{"objectClass", "objectGUID",
                                                     "msDS-LastKnownRDN", "lastKnownParent"};
    return attributes;
}

std::string OwnName(const RelativeName &rdn)
{
    std::string name;
    for (const AttributeValue &value : rdn) {
        name += (name.empty() ? "" : "+") + value.value;
    }
    return name;
}
} // namespace

DomainSearch::DomainSearch(LdapConnection &connection, DeletedObjects &deleted,
                           const std::unordered_set<std::string> &containerClasses,
                           FullNameOf fullNameOf)
    : connection_(connection), deleted_(deleted), containerClasses_(containerClasses),
      fullNameOf_(std::move(fullNameOf))
{
}

std::string DomainSearch::DeletedFilter(const SearchPattern &pattern)
{
    const SearchPattern unanchored("*" + pattern.Text() + "*");
    return "(&(isDeleted=TRUE)" +
           DirectorySearch::Filter(unanchored, {"name", "msds-lastknownrdn"}) + ")";
}

bool DomainSearch::IsContainer(const LdapEntry &entry) const
{
    const std::vector<std::string> *classes = entry.Values("objectClass");
    return classes != nullptr &&
           std::any_of(classes->begin(), classes->end(), [this](const std::string &name) {
               return IsContainerClass(name, containerClasses_);
           });
}

bool DomainSearch::IsBelow(const std::string &dn, const std::string &contextCanonical) const
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    if (!parsed) {
        return false;
    }
    const std::string canonical = parsed->Canonical();
    return canonical.size() > contextCanonical.size() &&
           canonical.compare(canonical.size() - contextCanonical.size(), contextCanonical.size(),
                             contextCanonical) == 0 &&
           canonical[canonical.size() - contextCanonical.size() - 1] == ',';
}

LdapStatus DomainSearch::Run(const std::string &contextDn, const SearchPattern &pattern,
                             bool deletedOnly, std::vector<DomainMatch> &matches)
{
    matches.clear();
    LdapStatus status = deletedOnly ? LdapStatus{} : AddLive(contextDn, pattern, matches);
    std::vector<Deleted> found;
    if (status.Ok()) {
        status = FindDeleted(pattern, found);
    }
    if (!status.Ok()) {
        matches.clear();
        return status;
    }
    const std::optional<DistinguishedName> context = DistinguishedName::Parse(contextDn);
    const std::string contextCanonical = context ? context->Canonical() : LowerAscii(contextDn);
    // Deleted siblings of one name each show the start of their GUID, as a listing does.
    std::map<std::pair<std::string, std::string>, int> namesakes;
    for (const Deleted &object : found) {
        ++namesakes[{object.parentGuid, DistinguishedName::Label(object.rdn)}];
    }
    for (const Deleted &object : found) {
        if (object.originalDn.empty() || !IsBelow(object.originalDn, contextCanonical)) {
            continue;
        }
        std::optional<DistinguishedName> original = DistinguishedName::Parse(object.originalDn);
        if (!original) {
            continue;
        }
        const std::string parentDn = original->Parent().Text();
        std::string label = DistinguishedName::Label(object.rdn);
        if (namesakes[{object.parentGuid, label}] > 1 || LiveNamesake(parentDn, label)) {
            label += " (deleted " + object.guid.substr(0, GuidShown) + ")";
        }
        matches.push_back(
            DomainMatch{label + "." + fullNameOf_(original->Parent()), object.container, false});
    }
    return status;
}

LdapStatus DomainSearch::AddLive(const std::string &contextDn, const SearchPattern &pattern,
                                 std::vector<DomainMatch> &matches)
{
    const std::string filter = DirectorySearch::Filter(pattern, {"name"});
    const std::optional<DistinguishedName> context = DistinguishedName::Parse(contextDn);
    const std::string contextCanonical = context ? context->Canonical() : "";
    const auto take = [&](LdapEntry &&entry) {
        std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.dn);
        if (!dn || dn->Empty() || dn->Canonical() == contextCanonical ||
            !pattern.Matches(OwnName(dn->Rdns().front()))) {
            return;
        }
        matches.push_back(DomainMatch{fullNameOf_(*dn), IsContainer(entry), true});
    };
    int cutBy = 0;
    // A controller answers a paged search several times more slowly: pages only when one
    // answer does not hold every match.
    LdapStatus status = connection_.Search(contextDn, LdapScope::Subtree, filter, {"objectClass"},
                                           Unpaged, take, cutBy);
    if (status.Ok() && cutBy != 0) {
        matches.clear();
        status = connection_.Search(contextDn, LdapScope::Subtree, filter, {"objectClass"},
                                    NoControls, take, cutBy);
    }
    return status;
}

LdapStatus DomainSearch::FindDeleted(const SearchPattern &pattern, std::vector<Deleted> &found)
{
    std::vector<LdapEntry> entries;
    LdapStatus status = deleted_.Search(DeletedFilter(pattern), DeletedAttributes(),
                                        [&](LdapEntry &&entry) { entries.push_back(entry); });
    for (std::size_t i = 0; status.Ok() && i < entries.size(); ++i) {
        LdapEntry &entry = entries[i];
        const ExtendedDn at = ExtendedDn::Parse(entry.dn);
        std::optional<DistinguishedName> dn = DistinguishedName::Parse(at.dn);
        const std::vector<std::string> *guid = entry.Values("objectGUID");
        const std::vector<std::string> *parent = entry.Values("lastKnownParent");
        if (!dn || dn->Empty() || guid == nullptr || guid->empty() || parent == nullptr ||
            parent->empty()) {
            continue;
        }
        Deleted object;
        object.rdn =
            DeletedObjects::OriginalRdn(dn->Rdns().front(), entry.Values("msDS-LastKnownRDN"));
        if (!pattern.Matches(OwnName(object.rdn))) {
            continue; // the filter only narrows; the name the object had decides
        }
        object.guid = ExtendedDn::GuidText(guid->front());
        const ExtendedDn parentAt = ExtendedDn::Parse(parent->front());
        object.parentGuid = parentAt.guid;
        const std::string parentDn = OriginalDnOf(parentAt.guid, parentAt.dn, 0);
        if (!parentDn.empty()) {
            object.originalDn = DistinguishedName::Child(object.rdn, parentDn);
        }
        object.container = IsContainer(entry);
        found.push_back(std::move(object));
    }
    return status;
}

std::string DomainSearch::OriginalDnOf(const std::string &guid, const std::string &dn, int depth)
{
    if (!deleted_.Holds(dn)) {
        return dn; // live: where it is
    }
    if (guid.empty() || depth > MostLevels) {
        return {};
    }
    if (const auto known = originalDns_.find(guid); known != originalDns_.end()) {
        return known->second;
    }
    std::optional<LdapEntry> entry;
    std::string original;
    if (deleted_.Read(guid, {"msDS-LastKnownRDN", "lastKnownParent"}, entry).Ok() && entry) {
        std::optional<DistinguishedName> parsed = DistinguishedName::Parse(entry->dn);
        const std::vector<std::string> *parent = entry->Values("lastKnownParent");
        if (parsed && !parsed->Empty() && parent != nullptr && !parent->empty()) {
            const ExtendedDn parentAt = ExtendedDn::Parse(parent->front());
            const std::string parentDn = OriginalDnOf(parentAt.guid, parentAt.dn, depth + 1);
            if (!parentDn.empty()) {
                original = DistinguishedName::Child(
                    DeletedObjects::OriginalRdn(parsed->Rdns().front(),
                                                entry->Values("msDS-LastKnownRDN")),
                    parentDn);
            }
        }
    }
    originalDns_[guid] = original;
    return original;
}

bool DomainSearch::LiveNamesake(const std::string &parentDn, const std::string &label)
{
    if (deleted_.Holds(parentDn)) {
        return false; // a deleted container has deleted children only
    }
    bool found = false;
    int cutBy = 0;
    const LdapStatus status = connection_.Search(
        parentDn, LdapScope::OneLevel, "(name=" + EscapedFilterValue(label) + ")", {"1.1"}, Unpaged,
        [&](LdapEntry &&) { found = true; }, cutBy);
    return status.Ok() && found;
}
