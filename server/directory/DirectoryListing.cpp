// Merging the live children of a container with those of the snapshots.
#include "server/directory/DirectoryListing.h"

#include <ldap.h>

#include <algorithm>
#include <map>
#include <unordered_map>

#include "catalogue/AsciiCase.h"
#include "catalogue/DistinguishedName.h"

namespace
{
struct Labelled {
    ListedChild child;
    std::string typedLabel;
};

// Fills label and typed label from the DN; false when it is not a DN below something.
bool LabelFromDn(Labelled &entry)
{
    std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.child.dn);
    if (!dn || dn->Empty()) {
        return false;
    }
    entry.child.label = DistinguishedName::Label(dn->Rdns().front());
    entry.typedLabel = DistinguishedName::TypedLabel(dn->Rdns().front());
    entry.child.canonical = dn->Canonical();
    return true;
}

bool IsTrue(const std::vector<std::string> *values)
{
    return values != nullptr && !values->empty() && values->front() == "TRUE";
}
} // namespace

DirectoryListing::DirectoryListing(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                                   const std::unordered_set<std::string> &containerClasses)
    : connection_(connection), catalogue_(catalogue), containerClasses_(containerClasses)
{
}

bool DirectoryListing::IsContainerClass(const std::vector<std::string> *classes) const
{
    if (classes == nullptr) {
        return false;
    }
    return std::any_of(classes->begin(), classes->end(), [this](const std::string &name) {
        return ::IsContainerClass(name, containerClasses_);
    });
}

LdapStatus DirectoryListing::Build(const std::string &dn, const std::string &canonical,
                                   std::vector<ListedChild> &children)
{
    children.clear();
    LdapStatus status = AddLive(dn, children);
    if (status.code == LDAP_NO_SUCH_OBJECT) {
        status = LdapStatus{}; // a deleted container: its children are all in snapshots
    }
    if (!status.Ok()) {
        children.clear();
        return status;
    }
    AddArchived(canonical, children, cutBy_ == 0);
    return status;
}

LdapStatus DirectoryListing::AddLive(const std::string &dn, std::vector<ListedChild> &children)
{
    cutBy_ = 0;
    liveListed_ = 0;
    return connection_.List(
        dn, {"objectClass", "hasSubordinates"},
        [&](LdapEntry &&entry) {
            ++liveListed_;
            Labelled live{ListedChild{{}, entry.dn, {}, false, true}, {}};
            if (!LabelFromDn(live)) {
                return;
            }
            live.child.container = IsTrue(entry.Values("hasSubordinates")) ||
                                   IsContainerClass(entry.Values("objectClass"));
            children.push_back(std::move(live.child));
        },
        cutBy_);
}

void DirectoryListing::AddArchived(const std::string &canonical, std::vector<ListedChild> &children,
                                   bool liveComplete)
{
    std::unordered_map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < children.size(); ++i) {
        byName.emplace(children[i].canonical, i);
    }
    for (const ArchivedName &entry : catalogue_.ChildrenOf(canonical)) {
        const auto found = byName.find(entry.canonical);
        if (found != byName.end()) {
            children[found->second].container |= entry.containerClass;
            continue;
        }
        Labelled archived{ListedChild{{}, entry.dn, {}, entry.containerClass, false}, {}};
        if (!LabelFromDn(archived)) {
            continue;
        }
        if (!liveComplete) {
            // The server cut its list short: ask about this one entry.
            std::optional<LdapEntry> live;
            archived.child.present = connection_.Read(entry.dn, {"1.1"}, live).Ok() && live;
        }
        byName.emplace(entry.canonical, children.size());
        children.push_back(std::move(archived.child));
    }
    // Siblings with one label are shown with their types; then everything is in name order.
    std::map<std::string, std::vector<std::size_t>> byLabel;
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i].container =
            children[i].container || catalogue_.HadChildren(children[i].canonical);
        byLabel[children[i].label].push_back(i);
    }
    for (const auto &[label, indexes] : byLabel) {
        for (std::size_t i = 0; indexes.size() > 1 && i < indexes.size(); ++i) {
            ListedChild &child = children[indexes[i]];
            Labelled again{child, {}};
            LabelFromDn(again);
            child.label = again.typedLabel;
        }
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const ListedChild &a, const ListedChild &b) { return a.label < b.label; });
}
