// Distinguished names: parsing with escapes, canonical comparison, typeless labels.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "catalogue/DistinguishedName.h"

namespace
{
using testing::ElementsAre;

TEST(DistinguishedName, ParsesEscapesAndGivesTypelessLabels)
{
    struct Case {
        const char *dn;
        const char *typeless;
    };
    const Case cases[] = {
        {"cn=Ann,ou=Sales,o=Marrowby", "Ann.Sales.Marrowby"},
        {"cn=Smith\\, John,o=Marrowby", "Smith, John.Marrowby"},
        {"cn=Smith\\2C John,o=Marrowby", "Smith, John.Marrowby"},
        {"cn=J. R. Smith,o=Marrowby", "J\\. R\\. Smith.Marrowby"},
        {"cn=back\\\\slash,o=M", "back\\\\slash.M"},
        {"cn=Zo\\C3\\AB,o=M", "Zoë.M"},
        {"cn=Zoë Ågren,o=M", "Zoë Ågren.M"},
        {"cn = Ann , o = M", "Ann.M"},
        {"cn=a+sn=b,o=M", "a+b.M"},
        {"cn=\\ lead and trail\\ ,o=M", " lead and trail .M"},
        {"2.5.4.3=Ann,o=M", "Ann.M"},
    };
    for (const Case &c : cases) {
        const auto dn = DistinguishedName::Parse(c.dn);
        ASSERT_TRUE(dn) << c.dn;
        EXPECT_EQ(dn->TypelessName(), c.typeless) << c.dn;
        // Printed and parsed again, it is the same name.
        const auto again = DistinguishedName::Parse(dn->Text());
        ASSERT_TRUE(again) << dn->Text();
        EXPECT_EQ(again->Canonical(), dn->Canonical()) << c.dn;
    }
}

// Every level of a name is one label of its typeless name, also when a value is empty: a level
// that vanished would make two objects one, or name another object.
TEST(DistinguishedName, EmptyValuesKeepTheirLevelInTheTypelessName)
{
    struct Case {
        const char *dn;
        const char *typeless;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"cn=,o=M", ".M", {"", "M"}},
        {"cn=,ou=,o=M", "..M", {"", "", "M"}},
        {"cn=Ann,ou=,o=M", "Ann..M", {"Ann", "", "M"}},
        {"o=M,cn=", "M.", {"M", ""}},
        {"cn=+sn=b,o=M", "+b.M", {"+b", "M"}},
        {"cn=a+sn=,o=M", "a+.M", {"a+", "M"}},
        {"cn=\\\\,o=M", "\\\\.M", {"\\\\", "M"}},
    };
    for (const Case &c : cases) {
        const auto dn = DistinguishedName::Parse(c.dn);
        ASSERT_TRUE(dn) << c.dn;
        EXPECT_EQ(dn->TypelessName(), c.typeless) << c.dn;
        EXPECT_EQ(DistinguishedName::SplitTypeless(dn->TypelessName()), c.labels) << c.dn;
        EXPECT_EQ(c.labels.size(), dn->Rdns().size()) << c.dn;
    }
    // Two objects that differ only in an empty level keep different names.
    EXPECT_NE(DistinguishedName::Parse("cn=,o=M")->TypelessName(),
              DistinguishedName::Parse("o=M")->TypelessName());
}

TEST(DistinguishedName, RefusesTextsThatAreNotNames)
{
    for (const char *text : {"Marrowby", "cn=Ann,", "=Ann", "cn=Ann\\", "c n=Ann", "1.=x",
                             "cn=a,,o=b", "Admin.Tech_Support.Marrowby"}) {
        EXPECT_FALSE(DistinguishedName::Parse(text)) << text;
    }
    EXPECT_TRUE(DistinguishedName::Parse("")->Empty());
}

TEST(DistinguishedName, SpellingsOfOneNameShareTheirCanonicalForm)
{
    const std::string canonical = DistinguishedName::Parse("cn=Ann  Smith,o=Marrowby")->Canonical();
    for (const char *same :
         {"CN=ann smith,O=MARROWBY", "cn= Ann Smith ,o=Marrowby", "cn=Ann\\20 Smith,o=Marrowby"}) {
        EXPECT_EQ(DistinguishedName::Parse(same)->Canonical(), canonical) << same;
    }
    EXPECT_EQ(DistinguishedName::Parse("sn=b+cn=a,o=M")->Canonical(),
              DistinguishedName::Parse("cn=a+sn=b,o=M")->Canonical());
    EXPECT_NE(DistinguishedName::Parse("cn=Ann,o=M")->Canonical(),
              DistinguishedName::Parse("ou=Ann,o=M")->Canonical());
    EXPECT_NE(DistinguishedName::Parse("cn=a\\,b,o=M")->Canonical(),
              DistinguishedName::Parse("cn=a,cn=b,o=M")->Canonical());
}

TEST(DistinguishedName, ParentAndTypedLabel)
{
    const auto dn = DistinguishedName::Parse("cn=v1.2,ou=Sales,o=M");
    EXPECT_EQ(dn->Parent().Text(), "ou=Sales,o=M");
    EXPECT_EQ(DistinguishedName::TypedLabel(dn->Rdns().front()), "cn=v1\\.2");
    EXPECT_TRUE(dn->Parent().Parent().Parent().Empty());
}

TEST(DistinguishedName, SplitsTypelessNamesAtUnescapedDots)
{
    EXPECT_THAT(DistinguishedName::SplitTypeless("J\\. R\\. Smith.Sales.Marrowby"),
                ElementsAre("J\\. R\\. Smith", "Sales", "Marrowby"));
    EXPECT_THAT(DistinguishedName::SplitTypeless("a\\\\.b"), ElementsAre("a\\\\", "b"));
    EXPECT_THAT(DistinguishedName::SplitTypeless("Marrowby"), ElementsAre("Marrowby"));
}
} // namespace
