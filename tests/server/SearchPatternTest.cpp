// Patterns as the user types them into Find: which names they match, and the literal runs a
// server may narrow its search by.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "server/SearchPattern.h"

namespace
{
using testing::ElementsAre;
using testing::IsEmpty;

struct Case {
    const char *pattern;
    const char *name;
    bool matches;
};

TEST(SearchPattern, MatchesOwnNamesAsTheUserExpects)
{
    const Case cases[] = {
        // Plain text matches anywhere, without regard to case.
        {"ann", "Ann", true},
        {"ann", "Joanne", true},
        {"ANN", "joanne", true},
        {"anne", "Ann", false},
        {"", "Anything", true},
        // Wildcards: the whole name must match.
        {"ann*", "Annabel", true},
        {"ann*", "Joanne", false},
        {"*ann", "Joann", true},
        {"*ann", "Joanne", false},
        {"a?n", "ANN", true},
        {"a?n", "An", false},
        {"a?n", "Ainn", false},
        {"a*n*e", "Adrienne", true},
        {"a*n*e", "Adrienn", false},
        {"*", "", true},
        {"?", "", false},
        {"**a**", "xax", true},
        // Backtracking past an early partial match.
        {"*aab", "aaaab", true},
        {"a*b*c", "abxbyc", true},
        {"a*b*c", "abxbyd", false},
        // What a directory or a filter would read as syntax is plain text here.
        {"(cn=*)", "(cn=x)", true}, // `*` is a wildcard wherever it stands
        {"(cn=", "a(cn=b", true},
        {")(|(objectClass=*)", "Ann", false},
        {"\\2a", "a\\2a", true},
        {"\\2a", "a*", false},
        {"O'Brien, J.", "O'Brien, J. Jr", true},
        {"\"quoted\"", "a \"Quoted\" name", true},
        {"a.b", "axb", false},
        {"a,b", "A,B", true},
        // Non-ASCII letters fold too, and `?` stands for a character, not a byte.
        {"zoë", "ZOË", true},
        {"straße", "STRAßE", true},
        {"z?e", "Zöe", true},
        {"łódź", "ŁÓDŹ", true},
        {"αθήνα", "ΑΘΉΝΑ", true},
        {"москва", "МОСКВА", true},
        {"e", "É", false},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(SearchPattern(test.pattern).Matches(test.name), test.matches)
            << '"' << test.pattern << "\" against \"" << test.name << '"';
    }
}

TEST(SearchPattern, BytesThatAreNotUtf8MatchOnlyThemselves)
{
    const std::string stray = "a\xff\xc3";
    EXPECT_TRUE(SearchPattern("\xff").Matches(stray));
    EXPECT_TRUE(SearchPattern("a??").Matches(stray));
    EXPECT_FALSE(SearchPattern("a?").Matches(stray));
    EXPECT_FALSE(SearchPattern("\xc3\xa9").Matches(stray)); // é is not its first byte
}

TEST(SearchPattern, LiteralRunsNarrowWhatAServerLooksAt)
{
    const SearchPattern plain("ann");
    EXPECT_THAT(plain.LiteralRuns().runs, ElementsAre("ann"));
    EXPECT_FALSE(plain.LiteralRuns().anchoredStart);
    EXPECT_FALSE(plain.LiteralRuns().anchoredEnd);

    const SearchPattern glob("a?n*(x)");
    EXPECT_THAT(glob.LiteralRuns().runs, ElementsAre("a", "n", "(x)"));
    EXPECT_TRUE(glob.LiteralRuns().anchoredStart);
    EXPECT_TRUE(glob.LiteralRuns().anchoredEnd);

    const SearchPattern open("**ann?");
    EXPECT_THAT(open.LiteralRuns().runs, ElementsAre("ann"));
    EXPECT_FALSE(open.LiteralRuns().anchoredStart);
    EXPECT_FALSE(open.LiteralRuns().anchoredEnd);

    EXPECT_THAT(SearchPattern("*?*").LiteralRuns().runs, IsEmpty());
}
} // namespace
