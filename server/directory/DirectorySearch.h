// The objects below a context whose own name matches a pattern, live or only in snapshots: the
// live directory is searched on the server (paged, on the naming attributes, with what the user
// typed escaped), the snapshots through their index; an entry that only snapshots hold is a
// deleted object. The matches come a part at a time, as the server's pages and the index yield
// them, so the first ones can be shown while the rest are still being looked for.
#pragma once

#include <cstddef>
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
    // Entries asked of the server for the first page: about a screenful of results, so that
    // they come at once; the later pages are the connection's usual size.
    static constexpr int kFirstPage = 100;
    // Matches at most that one part of the snapshots' walk gives, names at most it looks at, and
    // names read from the index at a time.
    static constexpr std::size_t kSnapshotPart = 100;
    static constexpr std::size_t kSnapshotLook = 50000;
    static constexpr std::size_t kSnapshotStretch = 5000;

    // Nothing is asked yet. The context is dn, canonical its canonical form; the catalogue and
    // the container classes must outlive the search.
    DirectorySearch(const SnapshotCatalogue &catalogue,
                    const std::unordered_set<std::string> &containerClasses, std::string dn,
                    std::string canonical, SearchPattern pattern, bool deletedOnly);

    // The filter a server runs for the pattern over these naming attributes: only the literal
    // runs of the pattern, escaped, so that nothing typed changes what is asked.
    static std::string Filter(const SearchPattern &pattern,
                              const std::unordered_set<std::string> &namingAttributes);
    // The own name of an entry as the pattern sees it: its values, unescaped, joined by "+".
    static std::string OwnName(const std::string &dn);

    // Adds the next part of the matches to hits (possibly none): the live ones first, a page at
    // a time in the server's order, then those only snapshots hold. A failure of the live
    // search is returned, and the search may be asked to go on after it; a match is never
    // given twice, even when a page is asked for again.
    LdapStatus Next(LdapConnection &connection, std::vector<SearchHit> &hits);
    bool Done() const { return phase_ == Phase::Done; }

    // Every match in one go (for callers that do not show them as they come).
    LdapStatus Run(LdapConnection &connection, std::vector<SearchHit> &hits);

  private:
    enum class Phase { Live, Snapshots, Done };

    LdapStatus NextLivePage(LdapConnection &connection, std::vector<SearchHit> &hits);
    LdapStatus AskLivePage(LdapConnection &connection, std::vector<SearchHit> &hits, int &cutBy);
    void TakeLive(const LdapEntry &entry, std::vector<SearchHit> &hits);
    void NextSnapshotPart(LdapConnection &connection, std::vector<SearchHit> &hits);
    void TakeArchived(LdapConnection &connection, const ArchivedName &entry,
                      std::vector<SearchHit> &hits);
    bool IsContainer(const LdapEntry &entry) const;
    // Whether a snapshot holds the entry as a container, or with children.
    bool ArchivedAsContainer(const std::string &canonical) const;

    const SnapshotCatalogue &catalogue_;
    const std::unordered_set<std::string> &containerClasses_;
    const std::string dn_;
    const std::string canonical_;
    const SearchPattern pattern_;
    const bool deletedOnly_;
    std::unordered_set<std::string> namingAttributes_;
    std::string filter_;

    Phase phase_ = Phase::Live;
    std::string cookie_;         // where the next live page begins
    int pagesTaken_ = 0;         // live pages since the search (re)started
    bool newSinceStart_ = false; // a live page since then brought an entry not seen before
    int cutBy_ = 0;              // the server's limit that cut the live search short, or 0
    // Entries given (or, live, matched) already, by canonical name.
    std::unordered_set<std::string> seen_;
    int64_t cursor_ = 0; // where the walk of the index's names is
};
