// What the ways of finding a report's changes share: below which entry changes count, which
// attributes are the user's (the rule by which Compare shows them), and the full name the tree
// gives an entry.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "server/ObjectDescription.h"
#include "server/directory/LdapConnection.h"

struct ChangeContext {
    std::string canonical; // the context's canonical DN
    std::function<std::vector<DescribedAttribute>(const LdapAttributes &)> userAttributes;
    // The tree's full name of the entry with this DN; empty when it cannot be named.
    std::function<std::string(const std::string &dn)> fullName;

    // The context itself, or an entry below it.
    bool Covers(const std::string &entryCanonical) const;
    // The names of the user attributes whose values differ between two sides.
    std::vector<std::string> Differing(const LdapAttributes &before,
                                       const LdapAttributes &after) const;
};
