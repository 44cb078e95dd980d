// The children of one container as the tree shows them: those in the live directory and those
// in any snapshot, together, sorted by name. A child that only snapshots hold is deleted.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "server/directory/LdapConnection.h"
#include "server/directory/SnapshotCatalogue.h"

struct ListedChild {
    std::string label;     // the child's own name in the tree
    std::string dn;        // the live DN, or the newest snapshot's
    std::string canonical; // DistinguishedName::Canonical
    bool container = false;
    bool present = false;
};

class DirectoryListing
{
  public:
    DirectoryListing(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                     const std::unordered_set<std::string> &containerClasses);

    // The children of the entry dn (canonical: its canonical form). A container missing from
    // the live directory lists the snapshots' children only; any other failure of the live
    // search is returned (children then stays empty). Children whose label is shared by a
    // sibling are told apart by their typed label ("cn=Ann", "uid=Ann").
    LdapStatus Build(const std::string &dn, const std::string &canonical,
                     std::vector<ListedChild> &children);
    // After Build: the result code of the server's limit that cut the live children short (0
    // when none did), and how many live children the server gave before that.
    int CutBy() const { return cutBy_; }
    std::size_t LiveListed() const { return liveListed_; }

  private:
    LdapStatus AddLive(const std::string &dn, std::vector<ListedChild> &children);
    void AddArchived(const std::string &canonical, std::vector<ListedChild> &children,
                     bool liveComplete);
    bool IsContainerClass(const std::vector<std::string> *classes) const;

    LdapConnection &connection_;
    const SnapshotCatalogue &catalogue_;
    const std::unordered_set<std::string> &containerClasses_;
    int cutBy_ = 0;
    std::size_t liveListed_ = 0;
};
