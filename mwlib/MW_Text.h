// Comparisons of narrow texts that ignore the case of the letters A to Z (and nothing else).
#pragma once

#include <cstddef>

class MW_Text
{
  public:
    static char FoldCase(char c)
    {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    // The first count characters agree; both texts must hold at least count characters.
    static bool SameIgnoringCase(const char *a, const char *b, std::size_t count);
    // Both NUL-terminated texts agree up to and including their terminators.
    static bool EqualIgnoringCase(const char *a, const char *b);
    // text begins with prefix; never reads past the end of either.
    static bool StartsIgnoringCase(const char *text, const char *prefix);
};
