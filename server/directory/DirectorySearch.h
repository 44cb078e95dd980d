// The objects below a context whose own name matches a pattern, live or only in snapshots: the
// live directory is searched on the server (paged, on the naming attributes, with what the user
// typed escaped), the snapshots through their index; an entry that only snapshots hold is a
// deleted object.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "server/SearchPattern.h"
#include "server/directory/LdapConnection.h"
#include "server/directory/SnapshotCatalogue.h"

struct SearchHit {
    std::string dn;        // the live DN, or the newest snapshot's
    std::string canonical; // DistinguishedName::Canonical
    bool container = false;
    bool present = false;
};

class DirectorySearch
{
  public:
    DirectorySearch(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                    const std::unordered_set<std::string> &containerClasses);

    // The filter a server runs for the pattern over these naming attributes: only the literal
    // runs of the pattern, escaped, so that nothing typed changes what is asked.
    static std::string Filter(const SearchPattern &pattern,
                              const std::unordered_set<std::string> &namingAttributes);
    // The own name of an entry as the pattern sees it: its values, unescaped, joined by "+".
    static std::string OwnName(const std::string &dn);

    // The entries strictly below dn (canonical: its canonical form) that match, live ones first
    // in the server's order, then the deleted ones. A failure of the live search is returned
    // and hits then stays empty.
    LdapStatus Run(const std::string &dn, const std::string &canonical,
                   const SearchPattern &pattern, bool deletedOnly, std::vector<SearchHit> &hits);

  private:
    LdapStatus AddLive(const std::string &dn, const std::string &canonical,
                       const SearchPattern &pattern,
                       const std::unordered_set<std::string> &namingAttributes,
                       std::vector<SearchHit> &hits, int &cutBy);
    bool IsContainer(const LdapEntry &entry) const;

    LdapConnection &connection_;
    const SnapshotCatalogue &catalogue_;
    const std::unordered_set<std::string> &containerClasses_;
};
