// Which rows of a change report are shown: by what happened, by the name of a differing
// attribute (without regard to case), and by a pattern of the object's own name in Find's syntax.
// An empty filter shows every row.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "server/ObjectChange.h"
#include "server/SearchPattern.h"

class ChangeFilter
{
  public:
    // Empty: every kind.
    void ShowKinds(std::set<ChangeKind> kinds) { kinds_ = std::move(kinds); }
    // Only rows naming this attribute (modified and moved objects); empty: any.
    void ShowAttribute(std::string name) { attribute_ = std::move(name); }
    // Only objects whose own name (the first part of the full name) matches; empty: any.
    void ShowNames(const std::string &pattern);

    bool Shows(const ObjectChange &change) const;

    // "deleted", "added", "modified", "moved"; nothing for another word.
    static std::optional<ChangeKind> KindNamed(const std::string &word);
    static const char *NameOf(ChangeKind kind);

  private:
    std::set<ChangeKind> kinds_;
    std::string attribute_;
    std::optional<SearchPattern> names_;
};
