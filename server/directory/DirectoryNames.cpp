// Remembering and finding the DN behind a full name.
#include "server/directory/DirectoryNames.h"

void DirectoryNames::Remember(const std::string &fullName, std::string dn, std::string canonical)
{
    known_[fullName] = Known{std::move(dn), std::move(canonical)};
}

const DirectoryNames::Known *DirectoryNames::Find(const std::string &fullName) const
{
    const auto found = known_.find(fullName);
    return found != known_.end() ? &found->second : nullptr;
}
