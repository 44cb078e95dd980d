// What the user typed to find objects by their own name: letters compared without regard to
// case, `*` standing for any run of characters and `?` for one; a text without either matches
// anywhere in a name. Nothing typed has any other meaning.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class SearchPattern
{
  public:
    explicit SearchPattern(std::string_view typed);

    const std::string &Text() const { return text_; }
    bool HasWildcards() const { return wildcards_; }
    bool Matches(std::string_view name) const;

    // The literal runs of the text between its wildcards, in order, as typed, for a server
    // that narrows a search before Matches decides: a name matches only if it holds them in
    // this order, beginning with the first when anchoredStart, ending with the last when
    // anchoredEnd. Empty runs are left out.
    struct Literals {
        std::vector<std::string> runs;
        bool anchoredStart = false;
        bool anchoredEnd = false;
    };
    Literals LiteralRuns() const;

  private:
    std::string text_;
    bool wildcards_ = false;
    std::vector<char32_t> folded_; // the pattern's characters, folded, with wildcard marks
};
