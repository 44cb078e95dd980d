// Comparisons of narrow texts that ignore the case of the letters A to Z (and nothing else), and
// the one way the program shortens a text without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

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
    // The length of the longest start of text that is at most limit bytes long and does not end
    // inside a UTF-8 sequence: texts that are cut to fit a field or a bar keep whole characters.
    static std::size_t WholeCharacters(std::string_view text, std::size_t limit);
};
