// Brings a domain's deleted objects back where they were (reanimation), parents before their
// children, and writes back from a snapshot what a tombstone lost; a snapshot's version of a
// live object is written over it. Before anything is written every object of the run is
// checked: a parent still deleted, or a name or account name that a live object uses, refuses
// the whole run.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "server/directory/DeletedObjects.h"
#include "server/directory/DomainListing.h"
#include "server/directory/OperationalAttributes.h"
#include "server/directory/SnapshotCatalogue.h"

class DomainRestore
{
  public:
    // Statuses of outcomes that are not the server's refusal.
    static constexpr int NotRestored = -1;    // refused before anything was written
    static constexpr int PartlyRestored = -2; // brought back, but without some of it

    struct Domain {
        std::string baseDn;
        bool recycleBin = false; // the controller's recycle bin is on
        const std::unordered_set<std::string> &containerClasses;
    };

    DomainRestore(LdapConnection &connection, DeletedObjects &deleted,
                  const SnapshotCatalogue &catalogue, const OperationalAttributes &operational,
                  const Domain &domain);

    // Restores the object: 0 (or the time it last changed) brings it back as the controller
    // keeps it, completed from the newest snapshot that holds it; a snapshot's time writes that
    // snapshot's version. With subtree, every deleted object below it comes back too.
    LdapStatus Run(const DomainObject &object, BackupTime version, bool subtree);

    // Whether the deleted object (as the controller keeps it) may come back at targetDn: Ok, or
    // the refusal a run would give (a live object has its name or its account name). Reads only.
    LdapStatus CheckReturn(const LdapEntry &deleted, const std::string &targetDn);

    // An attribute type (in lower case) that a restore never writes: the controller keeps it
    // for itself (identity, bookkeeping, secrets, counters, membership kept on the groups).
    static bool KeptByController(const std::string &type);

    // The objects the last run brought back, each with the DN it has now.
    struct Reanimated {
        std::string guid;
        std::string dn;
    };
    const std::vector<Reanimated> &Brought() const { return brought_; }

  private:
    struct Planned {
        LdapEntry entry;      // as deleted, with every attribute it kept
        std::string targetDn; // where it goes back to
    };

    LdapStatus Plan(const DomainObject &object, const LdapEntry &top, bool subtree,
                    std::vector<Planned> &plan);
    LdapStatus PlanBelow(const std::string &guid, const std::string &dn, bool live,
                         std::vector<Planned> &plan);
    LdapStatus LiveParentOf(const LdapEntry &entry, std::string &parentDn);
    LdapStatus Check(const Planned &planned);
    LdapStatus Reanimate(const Planned &planned);
    LdapStatus Complete(const std::string &dn, const ArchivedEntry *held, bool overwrite,
                        std::vector<std::string> &missing);
    void RestoreMembership(const std::string &dn, const LdapAttributes &live,
                           const LdifEntry &snapshot, std::vector<std::string> &missing);
    bool Writable(const std::string &description, const std::string &rdnType) const;

    LdapConnection &connection_;
    DeletedObjects &deleted_;
    const SnapshotCatalogue &catalogue_;
    const OperationalAttributes &operational_;
    const Domain &domain_;
    std::vector<Reanimated> brought_;
};
