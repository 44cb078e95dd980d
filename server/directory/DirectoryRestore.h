// Puts entries of a snapshot back into the live directory: an entry that is missing is added
// (its missing ancestors first), one that is present is modified to match the snapshot. A
// restore never deletes an entry and never writes an operational attribute.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "server/directory/LdapConnection.h"
#include "server/directory/OperationalAttributes.h"
#include "server/directory/SnapshotCatalogue.h"

class DirectoryRestore
{
  public:
    // Status of a failure found before the server was asked (no snapshot holds the entry, ...).
    static constexpr int NotInCatalogue = -1;

    DirectoryRestore(LdapConnection &connection, const SnapshotCatalogue &catalogue,
                     const OperationalAttributes &operational);

    // Restores the entry from the snapshot of that time (0: the newest that holds it), with its
    // subtree when asked, parents before children. Stops at the first failure; the status text
    // then names the entry and gives the server's reason.
    LdapStatus Run(const std::string &dn, const std::string &canonical, BackupTime version,
                   bool subtree);

    // What the runs so far wrote, also when one stopped at a failure (a run again after a lost
    // connection adds to it): the missing parents added (DNs, top down), the entries of the
    // object (with its subtree) added (DNs), and how many of those were modified (unchanged
    // ones count as neither).
    const std::vector<std::string> &ParentsAdded() const { return parentsAdded_; }
    const std::vector<std::string> &Added() const { return added_; }
    std::size_t Modified() const { return modified_; }

    // The modifications that make live match the snapshot's attributes (operational ones left
    // out on both sides).
    static std::vector<LdapModification> Differences(const LdapAttributes &live,
                                                     const LdapAttributes &snapshot,
                                                     const OperationalAttributes &operational);

    // A backup time as messages give it: "2026-12-10 14:24:36 UTC".
    static std::string TimeText(BackupTime time);
    // The entry's attributes with their values gathered, those the predicate keeps, in the
    // order they first appear.
    static LdapAttributes Grouped(const LdifEntry &entry,
                                  const std::function<bool(const std::string &)> &keep);

  private:
    LdapStatus AddMissingAncestors(const std::string &dn, const ArchivedEntry &chosen);
    // Adds or modifies one entry; what it added goes to `added`.
    LdapStatus RestoreEntry(const ArchivedEntry &entry, std::vector<std::string> &added);
    LdapAttributes UserAttributes(const LdifEntry &entry) const;

    LdapConnection &connection_;
    const SnapshotCatalogue &catalogue_;
    const OperationalAttributes &operational_;
    std::vector<std::string> parentsAdded_;
    std::vector<std::string> added_;
    std::size_t modified_ = 0;
};
