// The map between the tree's full names (typeless dotted names, own name first) and the
// directory's distinguished names, filled as containers are listed. A name is only ever turned
// into a DN through this map: a DN is never guessed from the labels of a name.
#pragma once

#include <string>
#include <unordered_map>

class DirectoryNames
{
  public:
    struct Known {
        std::string dn;        // as the server or a snapshot writes it
        std::string canonical; // DistinguishedName::Canonical
    };

    void Remember(const std::string &fullName, std::string dn, std::string canonical);
    const Known *Find(const std::string &fullName) const;
    std::size_t Size() const { return known_.size(); }

  private:
    std::unordered_map<std::string, Known> known_;
};
