// How a full name is written: each level's name, own first, joined by "."; inside a level a "."
// or "\" of the name itself stands behind a "\". A level alone, as a row shows it, is the name
// as the directory holds it, without those backslashes.
#pragma once

#include <string>
#include <string_view>

class FullNameSyntax
{
  public:
    // The first level of a full name as written there (escapes kept).
    static std::string_view OwnLevel(std::string_view fullName);
    // A level as the directory holds the name: "v1\.2" is "v1.2", "back\\slash" is "back\slash".
    static std::string Unescaped(std::string_view level);
};
