// What an object of a domain holds at a version beside what lives under its name: the version
// is its present state as the controller keeps it (a deleted object completed from the newest
// snapshot that holds it, as a restore completes it) or a snapshot's; the live side is the object
// itself; a deleted one is not live, and what would refuse its return (a parent still deleted, a
// live object with its name or account name) is found as a restore finds it. What a restore
// never writes (operational attributes and what the controller keeps for itself) is left out of
// both sides, and a deleted object shows the name it had. Only reads.
#pragma once

#include <string>
#include <vector>

#include "server/ObjectDescription.h"
#include "server/directory/DeletedObjects.h"
#include "server/directory/DomainListing.h"
#include "server/directory/DomainRestore.h"
#include "server/directory/OperationalAttributes.h"
#include "server/directory/SnapshotCatalogue.h"

class DomainDescription
{
  public:
    // restore: whose checks a deleted object's return must pass.
    DomainDescription(LdapConnection &connection, DeletedObjects &deleted,
                      const SnapshotCatalogue &catalogue, const OperationalAttributes &operational,
                      DomainRestore &restore);

    // version 0, or the time of its present state: as the controller keeps it; otherwise the
    // snapshot of that time, if one holds the object. The object is read anew by its GUID. A
    // deleted object that could not come back is a failure with the restore's reason.
    LdapStatus Describe(const DomainObject &object, BackupTime version,
                        ObjectDescription &description);

  private:
    LdapStatus CheckReturn(const DomainObject &object, const LdapEntry &kept,
                           ObjectDescription &description);
    LdapStatus ReadSnapshot(const ArchivedEntry &held,
                            std::vector<DescribedAttribute> &attributes) const;
    void AddWhatItLacks(const std::string &canonical, std::vector<DescribedAttribute> &kept) const;
    bool Shown(const std::string &description) const;
    std::vector<DescribedAttribute> ShownOf(const LdapAttributes &attributes) const;

    LdapConnection &connection_;
    DeletedObjects &deleted_;
    const SnapshotCatalogue &catalogue_;
    const OperationalAttributes &operational_;
    DomainRestore &restore_;
};
