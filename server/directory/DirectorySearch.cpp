// Searching the live directory and the snapshots together.
#include "server/directory/DirectorySearch.h"

#include <ldap.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "catalogue/AsciiCase.h"
#include "catalogue/DistinguishedName.h"
#include "server/directory/FilterValue.h"

namespace
{
// The attributes most entries are named by; the types the snapshots name entries by are added.
// "name" takes in its subtypes (cn, ou, o, l, st, c...).
const char *const UsualNamingAttributes[] = {"name", "uid", "dc"};

// The first relative name of a DN as written: up to its first separator that is neither
// escaped nor quoted.
std::string_view FirstRdn(std::string_view dn)
{
    bool quoted = false;
    for (std::size_t i = 0; i < dn.size(); ++i) {
        if (dn[i] == '\\') {
            ++i;
        } else if (dn[i] == '"') {
            quoted = !quoted;
        } else if (dn[i] == ',' && !quoted) {
            return dn.substr(0, i);
        }
    }
    return dn;
}

std::optional<DistinguishedName> ParsedFirstRdn(const std::string &dn)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(FirstRdn(dn));
    if (!parsed || parsed->Empty()) {
        return std::nullopt;
    }
    return parsed;
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

DirectorySearch::DirectorySearch(const SnapshotCatalogue &catalogue,
                                 const std::unordered_set<std::string> &containerClasses,
                                 std::string dn, std::string canonical, SearchPattern pattern,
                                 bool deletedOnly)
    : catalogue_(catalogue), containerClasses_(containerClasses), dn_(std::move(dn)),
      canonical_(std::move(canonical)), pattern_(std::move(pattern)), deletedOnly_(deletedOnly)
{
    // The types the snapshots name entries by widen the live search, so that no entry they hold
    // that is still live is missed by it.
    namingAttributes_.insert(std::begin(UsualNamingAttributes), std::end(UsualNamingAttributes));
    for (std::string &type : catalogue_.NamingTypes()) {
        namingAttributes_.insert(std::move(type));
    }
    filter_ = Filter(pattern_, namingAttributes_);
}

std::string DirectorySearch::Filter(const SearchPattern &pattern,
                                    const std::unordered_set<std::string> &namingAttributes)
{
    const SearchPattern::Literals literals = pattern.LiteralRuns();
    std::string value = literals.anchoredStart ? "" : "*";
    for (std::size_t i = 0; i < literals.runs.size(); ++i) {
        value += (i > 0 ? "*" : "") + EscapedFilterValue(literals.runs[i]);
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
    std::optional<DistinguishedName> parsed = ParsedFirstRdn(dn);
    if (!parsed) {
        return {};
    }
    return DistinguishedName::OwnName(parsed->Rdns().front());
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

bool DirectorySearch::ArchivedAsContainer(const std::string &canonical) const
{
    return catalogue_.WasContainer(canonical);
}

LdapStatus DirectorySearch::Run(LdapConnection &connection, std::vector<SearchHit> &hits)
{
    while (!Done()) {
        LdapStatus status = Next(connection, hits);
        if (!status.Ok()) {
            return status;
        }
    }
    return {};
}

LdapStatus DirectorySearch::Next(LdapConnection &connection, std::vector<SearchHit> &hits)
{
    switch (phase_) {
    case Phase::Live:
        return NextLivePage(connection, hits);
    case Phase::Snapshots:
        NextSnapshotPart(connection, hits);
        return {};
    case Phase::Done:
        break;
    }
    return {};
}

LdapStatus DirectorySearch::NextLivePage(LdapConnection &connection, std::vector<SearchHit> &hits)
{
    int cutBy = 0;
    const bool continuing = !cookie_.empty();
    LdapStatus status = AskLivePage(connection, hits, cutBy);
    if (!status.Ok() && continuing && newSinceStart_ && !connection.Broken()) {
        // A server keeps one paged search per connection: a listing made between two pages
        // ends this one's. Begin again; what was seen already is not given twice.
        cookie_.clear();
        pagesTaken_ = 0;
        newSinceStart_ = false;
        status = AskLivePage(connection, hits, cutBy);
    }
    if (status.code == LDAP_NO_SUCH_OBJECT && !continuing) {
        status = LdapStatus{}; // a deleted context: everything below it is in snapshots
        cookie_.clear();
    }
    if (!status.Ok()) {
        return status;
    }
    cutBy_ = cutBy != 0 ? cutBy : cutBy_;
    if (cookie_.empty()) {
        phase_ = Phase::Snapshots;
    }
    return status;
}

LdapStatus DirectorySearch::AskLivePage(LdapConnection &connection, std::vector<SearchHit> &hits,
                                        int &cutBy)
{
    const int size = pagesTaken_ == 0 ? kFirstPage : LdapConnection::kPageSize;
    LdapStatus status = connection.SearchPart(
        dn_, LdapScope::Subtree, filter_, {"objectClass", "hasSubordinates"}, NoControls, size,
        cookie_, [&](LdapEntry &&entry) { TakeLive(entry, hits); }, cutBy);
    if (status.Ok()) {
        ++pagesTaken_;
    }
    return status;
}

void DirectorySearch::TakeLive(const LdapEntry &entry, std::vector<SearchHit> &hits)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(entry.dn);
    if (!parsed || parsed->Empty() || !pattern_.Matches(OwnName(entry.dn))) {
        return; // the server's filter only narrows; the pattern decides
    }
    std::string own = parsed->Canonical();
    if (own == canonical_ || !seen_.insert(own).second) {
        return; // the context itself is not below itself; a page asked for again
    }
    newSinceStart_ = true;
    if (!deletedOnly_) {
        const bool container = IsContainer(entry) || ArchivedAsContainer(own);
        hits.push_back(SearchHit{entry.dn, std::move(own), container, true});
    }
}

// The index's names in stretches, those below the context taken: a part ends after a number of
// matches or of names looked at, so that a search of few matches still answers between parts.
void DirectorySearch::NextSnapshotPart(LdapConnection &connection, std::vector<SearchHit> &hits)
{
    const std::size_t before = hits.size();
    const std::string suffix = "," + canonical_;
    for (std::size_t looked = 0; looked < kSnapshotLook;) {
        const std::vector<ArchivedName> names = catalogue_.NamesAfter(cursor_, kSnapshotStretch);
        if (names.empty()) {
            phase_ = Phase::Done;
            return;
        }
        looked += names.size();
        for (const ArchivedName &name : names) {
            if (name.canonical.ends_with(suffix)) {
                TakeArchived(connection, name, hits);
            }
        }
        if (hits.size() - before >= kSnapshotPart) {
            return;
        }
    }
}

void DirectorySearch::TakeArchived(LdapConnection &connection, const ArchivedName &entry,
                                   std::vector<SearchHit> &hits)
{
    if (seen_.count(entry.canonical) != 0 || !pattern_.Matches(entry.own)) {
        return;
    }
    seen_.insert(entry.canonical);
    bool present = false;
    if (cutBy_ != 0) {
        // The server cut its answer short: ask about this one entry.
        std::optional<LdapEntry> live;
        present = connection.Read(entry.dn, {"1.1"}, live).Ok() && live;
        if (present && deletedOnly_) {
            return;
        }
    }
    hits.push_back(
        SearchHit{entry.dn, entry.canonical, ArchivedAsContainer(entry.canonical), present});
}
