// Finding a domain's objects by their own name: the live ones below the context, and the
// deleted ones the controller still keeps (asked with the show-deleted control), each under the
// name the tree shows it by: a deleted object in place under its last known parent, with the
// name it had, and with the start of its GUID when a sibling shares that name.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/DistinguishedName.h"
#include "server/SearchPattern.h"
#include "server/directory/DeletedObjects.h"
#include "server/directory/LdapConnection.h"

struct DomainMatch {
    std::string fullName;
    bool container = false;
    bool present = false;
};

class DomainSearch
{
  public:
    // The tree's full name of an object below the context, from its DN (a deleted one's as it
    // was before it was deleted).
    using FullNameOf = std::function<std::string(const DistinguishedName &)>;

    DomainSearch(LdapConnection &connection, DeletedObjects &deleted,
                 const std::unordered_set<std::string> &containerClasses, FullNameOf fullNameOf);

    // Live matches first, in the controller's order, then the deleted ones. A failure of
    // either search is returned, and matches then stays empty.
    LdapStatus Run(const std::string &contextDn, const SearchPattern &pattern, bool deletedOnly,
                   std::vector<DomainMatch> &matches);

    // The filter on the deleted objects: their names carry a mark behind the name they had, so
    // only the literal runs of the pattern are asked for, anchored nowhere.
    static std::string DeletedFilter(const SearchPattern &pattern);

  private:
    // A deleted object as the search found it.
    struct Deleted {
        RelativeName rdn; // the name it had
        std::string guid;
        std::string parentGuid;
        std::string originalDn; // where it was; empty when that is not known
        bool container = false;
    };

    LdapStatus AddLive(const std::string &contextDn, const SearchPattern &pattern,
                       std::vector<DomainMatch> &matches);
    LdapStatus FindDeleted(const SearchPattern &pattern, std::vector<Deleted> &found);
    // Where the object with this GUID is, or was before it was deleted; empty when unknown.
    std::string OriginalDnOf(const std::string &guid, const std::string &dn, int depth);
    // Whether a live sibling has the same name in the tree.
    bool LiveNamesake(const std::string &parentDn, const std::string &label);
    bool IsContainer(const LdapEntry &entry) const;
    bool IsBelow(const std::string &dn, const std::string &contextCanonical) const;

    LdapConnection &connection_;
    DeletedObjects &deleted_;
    const std::unordered_set<std::string> &containerClasses_;
    FullNameOf fullNameOf_;
    std::unordered_map<std::string, std::string> originalDns_; // by GUID
};
