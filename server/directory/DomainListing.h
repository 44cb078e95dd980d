// The children of one container of a domain as the tree shows them: its live children and, in
// place, the deleted objects whose last known parent it is, under the names they had.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "server/ServerRecords.h"
#include "server/directory/DeletedObjects.h"
#include "server/directory/DirectoryListing.h"

// What the server knows of an object it listed.
struct DomainObject {
    std::string guid;
    // Where the object is, or where it was before it was deleted (below its parent's
    // original DN): the name snapshots know it by.
    std::string originalDn;
    bool deleted = false;
    BackupTime changed = 0; // when it last changed: for a deleted object, when it was deleted
};

// Objects by the canonical form of the DN they have now (a deleted one's in the deleted-objects
// container).
using DomainObjects = std::unordered_map<std::string, DomainObject>;

class DomainListing
{
  public:
    DomainListing(LdapConnection &connection, DeletedObjects &deleted,
                  const std::unordered_set<std::string> &containerClasses);

    // The children of the container whose DN is dn, sorted by name, each also entered in
    // `objects`. A deleted container has deleted children only. A deleted child whose name a
    // sibling also has is told apart by the start of its GUID: "Ann (deleted 79ac65ac)".
    LdapStatus Build(const std::string &dn, const DomainObject &container,
                     std::vector<ListedChild> &children, DomainObjects &objects);

    // The limit by which the controller cut the live children short (0: they are all there),
    // and how many it gave.
    int CutBy() const { return cutBy_; }
    std::size_t LiveListed() const { return liveListed_; }

    // The attributes a listing reads of each child (a live one has no last known name).
    static const std::vector<std::string> &Attributes();
    static const std::vector<std::string> &LiveAttributes();
    // Seconds since 1970 of a generalized time ("20261210142436.0Z"); 0 when it is not one.
    static BackupTime Seconds(const std::string &generalizedTime);

  private:
    bool Take(LdapEntry &entry, const DomainObject &container, bool deleted,
              std::vector<ListedChild> &children, DomainObjects &objects) const;
    bool IsContainer(const LdapEntry &entry) const;

    LdapConnection &connection_;
    DeletedObjects &deleted_;
    const std::unordered_set<std::string> &containerClasses_;
    int cutBy_ = 0;
    std::size_t liveListed_ = 0;
};
