// A backup server made of a domain controller: the tree shows the live objects and, in place
// under their last known parent, the deleted ones the controller still keeps; a restore brings
// a deleted object back where it was (reanimation). A catalogue of LDIF exports, when set, adds
// older versions and completes what a tombstone lost.
#pragma once

#include <optional>
#include <string>

#include "server/directory/DomainListing.h"
#include "server/directory/DomainSearch.h"
#include "server/directory/LdapServer.h"

class DomainServer : public LdapServer
{
  public:
    explicit DomainServer(LdapSettings settings, Log log = nullptr);

    // Refuses a connection over which a password would go in the clear, then opens as a
    // directory does.
    int32_t Open(const char *serverName) override;

    // The time of the object's present state (live, or deleted), and the snapshots' times.
    void *GetHistory(const HistoryRequest &request, int32_t requestSize,
                     int32_t &replySize) override;
    void *RestoreObject(const RestoreRequest &request, int32_t requestSize,
                        int32_t &replySize) override;

    // The live objects below the context and the deleted ones the controller keeps, whose own
    // name matches: found on the first request of a search, handed out one per request.
    void *SearchObjects(const SearchRequest &request, int32_t requestSize,
                        int32_t &replySize) override;

  protected:
    // The object as the controller keeps it (or a snapshot's version) beside what lives under
    // its name (see DomainDescription).
    DescriptionPieces Describe(const std::string &fullName, BackupTime version) override;
    bool NeedsCatalogue() const override { return false; }
    LdapStatus BuildListing(const DirectoryNames::Known &container,
                            std::vector<ListedChild> &children, int &cutBy,
                            std::size_t &liveListed) override;
    // Also a user principal name (ann@marrowby.test) or a down-level name (MARROWBY\ann).
    std::string BindNameOf(const std::string &userName) override;
    std::string NamesFoundWithoutLookup() const override
    {
        return "a DN, a principal name (name@" + baseName_ +
               ") or a down-level name (DOMAIN\\name)";
    }

  private:
    LdapStatus LearnDomain();
    LdapStatus ObjectOf(const DirectoryNames::Known &known, DomainObject &object);
    LdapStatus CurrentObject(const DirectoryNames::Known &known, DomainObject &object);
    LdapStatus Restore(const std::string &fullName, const DirectoryNames::Known &known,
                       const RestoreRequest &request);
    std::optional<std::string> FullNameBelow(const std::string &fullName, const DomainObject &top,
                                             const std::string &dn) const;

    struct Found {
        std::string context;
        std::string pattern;
        uint32_t flags = 0;
        std::vector<DomainMatch> matches;
    };
    // The matches of the search; nothing, with the reason in `fault`, when it cannot be made.
    std::optional<Found> FindMatches(const std::string &context, const std::string &pattern,
                                     uint32_t flags, std::string &fault);

    std::string deletedObjectsDn_; // found once connected and bound
    bool recycleBin_ = false;
    DomainObjects objects_;
    std::optional<Found> found_; // the search being handed out
};
