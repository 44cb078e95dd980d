// A domain controller's deleted objects: they live in one container of their own, each with a
// link to its last known parent, which chains a deleted subtree together by GUID. Only
// requests with the show-deleted control see them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/DistinguishedName.h"
#include "server/directory/LdapConnection.h"

class DeletedObjects
{
  public:
    DeletedObjects(LdapConnection &connection, std::string containerDn);

    // Finds the container of the domain's deleted objects below the base (through its
    // well-known GUID); its usual place when the controller does not say.
    static std::string ContainerOf(LdapConnection &connection, const std::string &baseDn);

    // The deleted objects whose last known parent is the object with this GUID.
    LdapStatus ChildrenOf(const std::string &parentGuid, const std::vector<std::string> &attributes,
                          const std::function<void(LdapEntry &&)> &each);
    // The deleted objects that match the filter; their DNs, and their DN-valued attributes,
    // with their GUIDs.
    LdapStatus Search(const std::string &filter, const std::vector<std::string> &attributes,
                      const std::function<void(LdapEntry &&)> &each);
    // Whether the DN names a deleted object (or the container of them).
    bool Holds(const std::string &dn) const;
    // The object with this GUID, deleted or not; its DN-valued attributes with their GUIDs.
    LdapStatus Read(const std::string &guid, const std::vector<std::string> &attributes,
                    std::optional<LdapEntry> &entry);

    // The name a deleted object had, from its relative name ("Ann\nDEL:<guid>" gives "Ann") or
    // from the last known name the controller keeps.
    static RelativeName OriginalRdn(const RelativeName &deletedRdn,
                                    const std::vector<std::string> *lastKnownRdn);
    static bool IsTrue(const std::vector<std::string> *values);

  private:
    LdapConnection &connection_;
    std::string containerDn_;
};
