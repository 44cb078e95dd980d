// Searching the live directory and the snapshots together.
#include "server/directory/DirectorySearch.h"

#include <ldap.h>

#include <algorithm>
#include <unordered_map>

#include "server/directory/AsciiCase.h"
#include "server/directory/DistinguishedName.h"

namespace
{
// The attributes most entries are named by; the types the snapshots name entries by are added.
// "name" takes in its subtypes (cn, ou, o, l, st, c...).
const char *const UsualNamingAttributes[] = {"name", "uid", "dc"};

// A value of an assertion, with every character a filter reads as syntax escaped.
std::string Escaped(const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    std::string escaped;
    for (char c : text) {
        if (c == '*' || c == '(' || c == ')' || c == '\\' || c == '\0') {
            const auto byte = static_cast<unsigned char>(c);
            escaped += '\\';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

bool IsTrue(const std::vector<std::string> *values)
{
    return values != nullptr && !values->empty() && values->front() == "TRUE";
}

// Attribute types are letters, digits and hyphens (or a numeric OID): nothing else goes into a
// filter as a type.
bool IsAttributeType(const std::string &type)
{
    return !type.empty() && std::all_of(type.begin(), type.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    });
}
} // namespace

DirectorySearch::DirectorySearch(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                                 const std::unordered_set<std::string> &containerClasses)
    : connection_(connection), catalogue_(catalogue), containerClasses_(containerClasses)
{
}

std::string DirectorySearch::Filter(const SearchPattern &pattern,
                                    const std::unordered_set<std::string> &namingAttributes)
{
    const SearchPattern::Literals literals = pattern.LiteralRuns();
    std::string value = literals.anchoredStart ? "" : "*";
    for (std::size_t i = 0; i < literals.runs.size(); ++i) {
        value += (i > 0 ? "*" : "") + Escaped(literals.runs[i]);
    }
    if (!literals.anchoredEnd && value != "*") {
        value += '*';
    }
    std::vector<std::string> types(namingAttributes.begin(), namingAttributes.end());
    std::sort(types.begin(), types.end());
    std::string filter = "(|";
    for (const std::string &type : types) {
        if (IsAttributeType(type)) {
            filter += "(" + type + "=" + value + ")";
        }
    }
    return filter + ")";
}

std::string DirectorySearch::OwnName(const std::string &dn)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    if (!parsed || parsed->Empty()) {
        return {};
    }
    std::string name;
    for (const AttributeValue &value : parsed->Rdns().front()) {
        name += (name.empty() ? "" : "+") + value.value;
    }
    return name;
}

bool DirectorySearch::IsContainer(const LdapEntry &entry) const
{
    if (IsTrue(entry.Values("hasSubordinates"))) {
        return true;
    }
    const std::vector<std::string> *classes = entry.Values("objectClass");
    return classes != nullptr &&
           std::any_of(classes->begin(), classes->end(), [this](const std::string &name) {
               return ::IsContainerClass(name, containerClasses_);
           });
}

LdapStatus DirectorySearch::Run(const std::string &dn, const std::string &canonical,
                                const SearchPattern &pattern, bool deletedOnly,
                                std::vector<SearchHit> &hits)
{
    hits.clear();
    // What the snapshots hold below the context, newest first; their naming types widen the
    // live search so that no entry they hold that is still live is missed by it.
    std::unordered_set<std::string> namingAttributes(std::begin(UsualNamingAttributes),
                                                     std::end(UsualNamingAttributes));
    std::vector<SearchHit> archived;
    std::unordered_map<std::string, std::size_t> archivedAt;
    for (const auto &snapshot : catalogue_.Snapshots()) {
        for (const SnapshotEntry *entry : snapshot->Subtree(canonical)) {
            if (entry->canonical == canonical) {
                continue;
            }
            std::optional<DistinguishedName> parsed = DistinguishedName::Parse(entry->dn);
            if (!parsed || parsed->Empty()) {
                continue;
            }
            for (const AttributeValue &value : parsed->Rdns().front()) {
                namingAttributes.insert(LowerAscii(value.type));
            }
            const auto known = archivedAt.find(entry->canonical);
            if (known != archivedAt.end()) {
                archived[known->second].container |= entry->containerClass;
            } else if (pattern.Matches(OwnName(entry->dn))) {
                archivedAt.emplace(entry->canonical, archived.size());
                archived.push_back(
                    SearchHit{entry->dn, entry->canonical, entry->containerClass, false});
            }
        }
    }
    std::vector<SearchHit> live;
    int cutBy = 0;
    LdapStatus status = AddLive(dn, canonical, pattern, namingAttributes, live, cutBy);
    if (status.code == LDAP_NO_SUCH_OBJECT) {
        status = LdapStatus{}; // a deleted context: everything below it is in snapshots
    }
    if (!status.Ok()) {
        return status;
    }
    std::unordered_set<std::string> liveNames;
    for (SearchHit &hit : live) {
        liveNames.insert(hit.canonical);
        if (const auto known = archivedAt.find(hit.canonical); known != archivedAt.end()) {
            hit.container |= archived[known->second].container;
        }
        hit.container |= catalogue_.HadChildren(hit.canonical);
        if (!deletedOnly) {
            hits.push_back(std::move(hit));
        }
    }
    for (SearchHit &hit : archived) {
        if (liveNames.count(hit.canonical) != 0) {
            continue;
        }
        if (cutBy != 0) {
            // The server cut its answer short: ask about this one entry.
            std::optional<LdapEntry> entry;
            if (connection_.Read(hit.dn, {"1.1"}, entry).Ok() && entry) {
                hit.present = true;
                if (deletedOnly) {
                    continue;
                }
            }
        }
        hit.container |= catalogue_.HadChildren(hit.canonical);
        hits.push_back(std::move(hit));
    }
    return status;
}

LdapStatus DirectorySearch::AddLive(const std::string &dn, const std::string &canonical,
                                    const SearchPattern &pattern,
                                    const std::unordered_set<std::string> &namingAttributes,
                                    std::vector<SearchHit> &hits, int &cutBy)
{
    return connection_.Search(
        dn, LdapScope::Subtree, Filter(pattern, namingAttributes),
        {"objectClass", "hasSubordinates"}, NoControls,
        [&](LdapEntry &&entry) {
            std::optional<DistinguishedName> parsed = DistinguishedName::Parse(entry.dn);
            if (!parsed || parsed->Empty() || !pattern.Matches(OwnName(entry.dn))) {
                return; // the server's filter only narrows; the pattern decides
            }
            std::string own = parsed->Canonical();
            if (own != canonical) { // the context itself is not below itself
                hits.push_back(SearchHit{entry.dn, std::move(own), IsContainer(entry), true});
            }
        },
        cutBy);
}
