// A full name's own level, and a level read back to the name the directory holds.
#include <gtest/gtest.h>

#include "model/FullNameSyntax.h"

namespace
{
TEST(FullNameSyntax, OwnLevelEndsAtTheFirstDotThatIsNotEscaped)
{
    const struct {
        const char *fullName;
        const char *own;
    } cases[] = {
        {"Ann.Sales.Marrowby", "Ann"},
        {"v1\\.2\\.3.Sales.Marrowby", "v1\\.2\\.3"},
        {"back\\\\.Sales.Marrowby", "back\\\\"}, // an escaped backslash, then a separator
        {"Marrowby", "Marrowby"},
        {".Marrowby", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FullNameSyntax::OwnLevel(c.fullName), c.own) << c.fullName;
    }
}

TEST(FullNameSyntax, ALevelReadsAsTheDirectoryHoldsTheName)
{
    const struct {
        const char *level;
        const char *name;
    } cases[] = {
        {"v1\\.2\\.3", "v1.2.3"},
        {"back\\\\slash", "back\\slash"},
        {"ends\\\\", "ends\\"},
        {"Zoë *", "Zoë *"},
        {"a\\b", "a\\b"}, // a backslash before anything else is the name's own
        {"trailing\\", "trailing\\"},
        {"", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FullNameSyntax::Unescaped(c.level), c.name) << c.level;
    }
}
} // namespace
