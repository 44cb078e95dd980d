// The scope and the terms of a change report.
#include "server/directory/ChangeContext.h"

#include "server/AttributeSets.h"

// Below it: the context's name follows a separator, not an escaped comma inside a value.
bool ChangeContext::Covers(const std::string &entryCanonical) const
{
    if (entryCanonical == canonical) {
        return true;
    }
    if (entryCanonical.size() <= canonical.size() || !entryCanonical.ends_with(canonical)) {
        return false;
    }
    std::size_t at = entryCanonical.size() - canonical.size() - 1;
    if (entryCanonical[at] != ',') {
        return false;
    }
    std::size_t escapes = 0;
    while (at > 0 && entryCanonical[--at] == '\\') {
        ++escapes;
    }
    return escapes % 2 == 0;
}

std::vector<std::string> ChangeContext::Differing(const LdapAttributes &before,
                                                  const LdapAttributes &after) const
{
    return AttributeSets::Differing(userAttributes(before), userAttributes(after));
}
