// What an entry holds in a snapshot beside what it holds in the live directory, operational
// attributes left out of both sides by the rule a restore follows. Only reads: it never writes
// to the directory.
#pragma once

#include <string>

#include "server/ObjectDescription.h"
#include "server/directory/LdapConnection.h"
#include "server/directory/OperationalAttributes.h"
#include "server/directory/SnapshotCatalogue.h"

class DirectoryDescription
{
  public:
    DirectoryDescription(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                         const OperationalAttributes &operational);

    // The entry at the snapshot of that time (0: the newest that holds it) and live. When it is
    // not live, whether its parent is, and whether a restore would add the parent from a
    // snapshot first (as a restore adds missing ancestors).
    LdapStatus Describe(const std::string &dn, const std::string &canonical, BackupTime version,
                        ObjectDescription &description);
    // An entry as the snapshot holds it beside its live state (what a restore of it compares).
    LdapStatus DescribeEntry(const ArchivedEntry &entry, ObjectDescription &description);

  private:
    LdapStatus ReadBackup(const ArchivedEntry &entry, ObjectDescription &description) const;
    // The live side; description.live stays false when there is no live entry.
    LdapStatus ReadLive(const std::string &dn, ObjectDescription &description);
    LdapStatus DescribeParent(const std::string &dn, const std::string &matched,
                              ObjectDescription &description);
    std::vector<DescribedAttribute> UserAttributes(const LdapAttributes &attributes) const;

    LdapConnection &connection_;
    const SnapshotCatalogue &catalogue_;
    const OperationalAttributes &operational_;
};
