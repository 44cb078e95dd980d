// MW_String: case-insensitive equality, append, cut, character access, and running out of memory.
#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_String.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(String, EqualityIgnoresTheCaseOfLettersOnly)
{
    struct Case {
        const char *left;
        const char *right;
        bool equal;
    };
    const Case cases[] = {
        {"Server", "SERVER", true},
        {"Server", "server", true},
        {"Server", "Server ", false}, // lengths differ
        {"", "", true},
        {"a[1]", "A[1]", true},
        {"a@", "A`", false},     // '@' and '`' are not letters
        {"\xC4", "\xE4", false}, // only A to Z fold
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MW_String(c.left).Equals(MW_String(c.right)), c.equal)
            << c.left << '|' << c.right;
        EXPECT_EQ(MW_String(c.left).Equals(c.right), c.equal) << c.left << '|' << c.right;
        EXPECT_EQ(MW_String(c.left) == MW_String(c.right), c.equal);
    }
    EXPECT_TRUE(MW_String().Equals(static_cast<const char *>(nullptr)));
    EXPECT_FALSE(MW_String("x").Equals(static_cast<const char *>(nullptr)));
    EXPECT_TRUE(MW_String(nullptr).Equals(""));
}

TEST(String, EqualsFirstComparesAPrefixOfBoth)
{
    const MW_String text("Enforcekey");
    EXPECT_TRUE(text.EqualsFirst(7, MW_String("ENFORCE")));
    EXPECT_TRUE(text.EqualsFirst(0, MW_String("")));
    EXPECT_FALSE(text.EqualsFirst(8, MW_String("ENFORCE"))); // the other is shorter than 8
    EXPECT_FALSE(text.EqualsFirst(3, MW_String("enx")));
}

TEST(String, AppendGrowsAndEmptyOrNullAppendsNothing)
{
    MW_String text;
    text.Append("abc");
    EXPECT_STREQ(text.Text(), "abc");
    text.Append("");
    text.Append(static_cast<const char *>(nullptr));
    text.Append(MW_String());
    EXPECT_STREQ(text.Text(), "abc");
    EXPECT_EQ(text.Length(), 3);
    text.Append(MW_String("DEF"));
    text.Append(text); // itself
    EXPECT_STREQ(text.Text(), "abcDEFabcDEF");
    EXPECT_EQ(text.Length(), 12);
}

TEST(String, CutOnlyWithinTheText)
{
    MW_String text("abcdefghijkl");
    text.Cut(20);
    text.Cut(-1);
    EXPECT_STREQ(text.Text(), "abcdefghijkl");
    text.Cut(6);
    EXPECT_STREQ(text.Text(), "abcdef");
    EXPECT_EQ(text.Length(), 6);
    text.Append("+");
    EXPECT_STREQ(text.Text(), "abcdef+");
    text.Cut(0);
    EXPECT_TRUE(text.Equals(""));
}

TEST(String, CharAtIsClampedToTheText)
{
    const MW_String text("abcde");
    EXPECT_EQ(*text.CharAt(100), '\0');
    EXPECT_EQ(text.CharAt(100), text.Text() + 5);
    EXPECT_EQ(text.CharAt(-3), text.Text());
    EXPECT_EQ(*text.CharAt(2), 'c');
    EXPECT_STREQ(MW_String().CharAt(4), "");
}

TEST(String, CopiesAndAssignmentsAreIndependent)
{
    MW_String original("value");
    MW_String copy(original);
    MW_String assigned;
    assigned = original;
    original.Append("!");
    EXPECT_STREQ(copy.Text(), "value");
    EXPECT_STREQ(assigned.Text(), "value");
    const MW_String &same = assigned;
    assigned = same; // self-assignment keeps the text
    EXPECT_STREQ(assigned.Text(), "value");
    assigned = "other";
    EXPECT_STREQ(assigned.Text(), "other");
    assigned = static_cast<const char *>(nullptr);
    EXPECT_EQ(assigned.Length(), 0);
    EXPECT_STREQ(assigned.Text(), "");
}

TEST(String, WithoutMemoryTheStringEndsUpEmpty)
{
    MW_String grown("abc");
    const MW_String source("xyz");
    MW_Allocator::FailAfter(0);
    grown.Append("def");
    MW_Allocator::FailAfter(0);
    const MW_String copied(source);
    MW_Allocator::Reset();
    EXPECT_EQ(grown.Length(), 0);
    EXPECT_STREQ(grown.Text(), "");
    EXPECT_EQ(copied.Length(), 0);
    EXPECT_STREQ(copied.Text(), "");
}

} // namespace
