// Which attributes the directory keeps for itself (creation times, entry ids, ...): a restore
// must not write them. Learnt from the server's schema, with a fallback list.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class LdapConnection;

class OperationalAttributes
{
  public:
    // The well-known ones, in use until the schema has been read.
    OperationalAttributes();

    // Reads the attribute types of the server's subschema; false (the fallback stays) when the
    // schema cannot be read.
    bool Learn(LdapConnection &connection);
    // Takes every operational attribute type out of one attributeTypes definition.
    void LearnDefinition(std::string_view definition);

    // The description's type (options cut off, case ignored) is operational.
    bool Contains(std::string_view description) const;
    bool Learnt() const { return learnt_; }

  private:
    std::unordered_set<std::string> names_; // lower case names and OIDs
    bool learnt_ = false;
};
