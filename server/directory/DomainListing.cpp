// Listing a domain's container with its deleted children.
#include "server/directory/DomainListing.h"

#include <algorithm>
#include <ctime>
#include <map>

#include "catalogue/AsciiCase.h"
#include "server/directory/ExtendedDn.h"

namespace
{
constexpr std::size_t GuidShown = 8;
}

DomainListing::DomainListing(LdapConnection &connection, DeletedObjects &deleted,
                             const std::unordered_set<std::string> &containerClasses)
    : connection_(connection), deleted_(deleted), containerClasses_(containerClasses)
{
}

const std::vector<std::string> &DomainListing::Attributes()
{
    static const std::vector<std::string> attributes{"objectClass", "objectGUID", "whenChanged",
                                                     "msDS-LastKnownRDN"};
    return attributes;
}

const std::vector<std::string> &DomainListing::LiveAttributes()
{
    static const std::vector<std::string> attributes{"objectClass", "objectGUID", "whenChanged"};
    return attributes;
}

BackupTime DomainListing::Seconds(const std::string &generalizedTime)
{
    std::tm time{};
    if (generalizedTime.size() < 14 ||
        !std::all_of(generalizedTime.begin(), generalizedTime.begin() + 14,
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    const auto number = [&](std::size_t at, std::size_t length) {
        return std::stoi(generalizedTime.substr(at, length));
    };
    time.tm_year = number(0, 4) - 1900;
    time.tm_mon = number(4, 2) - 1;
    time.tm_mday = number(6, 2);
    time.tm_hour = number(8, 2);
    time.tm_min = number(10, 2);
    time.tm_sec = number(12, 2);
    const std::time_t seconds = timegm(&time);
    return seconds > 0 && seconds <= INT32_MAX ? static_cast<BackupTime>(seconds) : 0;
}

bool DomainListing::IsContainer(const LdapEntry &entry) const
{
    const std::vector<std::string> *classes = entry.Values("objectClass");
    return classes != nullptr &&
           std::any_of(classes->begin(), classes->end(), [this](const std::string &name) {
               return IsContainerClass(name, containerClasses_);
           });
}

// One child into the listing; false when the controller gave something that is not an object
// with a name and a GUID.
bool DomainListing::Take(LdapEntry &entry, const DomainObject &container, bool deleted,
                         std::vector<ListedChild> &children, DomainObjects &objects) const
{
    std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.dn);
    const std::vector<std::string> *guid = entry.Values("objectGUID");
    if (!dn || dn->Empty() || guid == nullptr || guid->empty()) {
        return false;
    }
    const RelativeName rdn =
        deleted ? DeletedObjects::OriginalRdn(dn->Rdns().front(), entry.Values("msDS-LastKnownRDN"))
                : dn->Rdns().front();
    DomainObject object;
    object.guid = ExtendedDn::GuidText(guid->front());
    object.originalDn = DistinguishedName::Child(rdn, container.originalDn);
    object.deleted = deleted;
    const std::vector<std::string> *changed = entry.Values("whenChanged");
    object.changed = changed != nullptr && !changed->empty() ? Seconds(changed->front()) : 0;
    ListedChild child{DistinguishedName::Label(rdn), entry.dn, dn->Canonical(), IsContainer(entry),
                      !deleted};
    objects[child.canonical] = std::move(object);
    children.push_back(std::move(child));
    return true;
}

LdapStatus DomainListing::Build(const std::string &dn, const DomainObject &container,
                                std::vector<ListedChild> &children, DomainObjects &objects)
{
    children.clear();
    LdapStatus status;
    cutBy_ = 0;
    liveListed_ = 0;
    if (!container.deleted) {
        // A controller answers a paged search several times more slowly: pages only for a
        // container that has more children than one answer holds.
        const auto take = [&](LdapEntry &&entry) {
            liveListed_ += Take(entry, container, false, children, objects) ? 1 : 0;
        };
        status = connection_.Search(dn, LdapScope::OneLevel, "(objectClass=*)", LiveAttributes(),
                                    Unpaged, take, cutBy_);
        if (status.Ok() && cutBy_ != 0) {
            children.clear();
            liveListed_ = 0;
            status = connection_.Search(dn, LdapScope::OneLevel, "(objectClass=*)",
                                        LiveAttributes(), NoControls, take, cutBy_);
        }
    }
    if (status.Ok()) {
        status = deleted_.ChildrenOf(container.guid, Attributes(), [&](LdapEntry &&entry) {
            Take(entry, container, true, children, objects);
        });
    }
    if (!status.Ok()) {
        children.clear();
        return status;
    }
    // A deleted object that shares its name with a sibling (a live one made since, or another
    // deleted one) shows the start of its GUID; live siblings of one name show their types.
    std::map<std::string, std::vector<ListedChild *>> byLabel;
    for (ListedChild &child : children) {
        byLabel[child.label].push_back(&child);
    }
    for (auto &[label, shared] : byLabel) {
        const auto live = std::count_if(shared.begin(), shared.end(),
                                        [](const ListedChild *child) { return child->present; });
        for (std::size_t i = 0; shared.size() > 1 && i < shared.size(); ++i) {
            ListedChild &child = *shared[i];
            std::optional<DistinguishedName> parsed = DistinguishedName::Parse(child.dn);
            if (!child.present) {
                child.label +=
                    " (deleted " + objects[child.canonical].guid.substr(0, GuidShown) + ")";
            } else if (live > 1 && parsed) {
                child.label = DistinguishedName::TypedLabel(parsed->Rdns().front());
            }
        }
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const ListedChild &a, const ListedChild &b) { return a.label < b.label; });
    return status;
}
