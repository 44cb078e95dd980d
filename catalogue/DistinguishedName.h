// A distinguished name taken apart: its relative names (own first), their typeless labels as the
// tree shows them, and a canonical form under which spellings of the same name compare equal.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AttributeValue {
    std::string type;  // as written
    std::string value; // unescaped bytes
};

using RelativeName = std::vector<AttributeValue>;

class DistinguishedName
{
  public:
    DistinguishedName() = default;
    // The string form with backslash and hex escapes; blanks around separators are tolerated.
    // Nothing when the text is not a distinguished name.
    static std::optional<DistinguishedName> Parse(std::string_view text);

    bool Empty() const { return rdns_.empty(); }
    const std::vector<RelativeName> &Rdns() const { return rdns_; }
    DistinguishedName Parent() const;
    // The string form, escaped where needed.
    std::string Text() const;
    // Types and values in lower case, blanks in values trimmed and collapsed, values of a
    // multi-valued relative name sorted: what directories compare names by (for ASCII letters).
    std::string Canonical() const;

    // The values of a relative name joined by "+", with "\" and "." escaped: one level of a
    // typeless dotted name.
    static std::string Label(const RelativeName &rdn);
    // The relative name in string form, with its types ("cn=Ann"); tells apart siblings whose
    // labels are equal.
    static std::string TypedLabel(const RelativeName &rdn);
    // The DN of a child with this relative name below the parent's DN.
    static std::string Child(const RelativeName &rdn, const std::string &parentDn);
    // The values of a relative name, unescaped, joined by "+": the name a search pattern is
    // matched against.
    static std::string OwnName(const RelativeName &rdn);
    // The canonical name of the parent of an entry given by its canonical name.
    static std::string_view CanonicalParent(std::string_view canonical);
    // Every level's label, own first, joined by ".".
    std::string TypelessName() const;
    // The labels of a typeless dotted name, own first, escapes kept.
    static std::vector<std::string> SplitTypeless(std::string_view name);

  private:
    std::vector<RelativeName> rdns_;
};
