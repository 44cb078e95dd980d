// Cutting a text to a number of bytes without splitting a UTF-8 character.
#include <gtest/gtest.h>

#include <string>

#include "mwlib/MW_Text.h"

namespace
{
struct CutCase {
    std::string text;
    std::size_t limit;
    std::size_t kept;
};

// "é" is C3 A9, "€" is E2 82 AC, "𝄞" is F0 9D 84 9E.
const CutCase kCutCases[] = {
    {"", 0, 0},
    {"", 5, 0},
    {"abc", 0, 0},
    {"abc", 2, 2},
    {"abc", 3, 3},
    {"abc", 99, 3},
    {"a\xC3\xA9", 2, 1},          // inside é: before it
    {"a\xC3\xA9", 3, 3},          // right after it
    {"\xE2\x82\xAC" "b", 1, 0},   // inside € at the start: nothing
    {"\xE2\x82\xAC" "b", 2, 0},
    {"\xE2\x82\xAC" "b", 3, 3},
    {"x\xF0\x9D\x84\x9E", 4, 1},  // inside a four-byte character
    {"x\xF0\x9D\x84\x9E", 5, 5},
    {"\x80\x80\x80", 2, 0},       // stray continuation bytes never count as a cut point
};
} // namespace

TEST(TextCut, KeepsTheLongestStartOfWholeCharactersWithinTheLimit)
{
    for (const CutCase &c : kCutCases) {
        EXPECT_EQ(MW_Text::WholeCharacters(c.text, c.limit), c.kept)
            << "limit " << c.limit << " of " << c.text.size() << " bytes";
    }
}
