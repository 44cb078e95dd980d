// Setting a version's attributes against the live ones, and how values are shown.
#include <gmock/gmock.h>

#include "model/AttributeComparison.h"

namespace
{
using testing::ElementsAre;
using testing::Field;

TEST(AttributeComparisonTest, EachAttributeIsMarkedByWhatARestoreWouldDo)
{
    ObjectDescription description;
    description.backup = {{"cn", {"Ann"}},
                          {"sn", {"Smith"}},
                          {"mail", {"ann@example.org"}},
                          {"telephoneNumber", {"1", "2", "3"}},
                          {"jpegPhoto", {std::string("\x89PNG\0\1", 6)}}};
    description.current = {{"CN", {"Ann"}},
                           {"sn", {"Jones"}},
                           {"telephonenumber", {"3", "1", "2", "2"}},
                           {"jpegPhoto", {std::string("\x89PNG\0\2", 6)}},
                           {"description", {"added later"}}};
    const std::vector<ComparedAttribute> compared = AttributeComparison::Of(description);
    using D = AttributeDifference;
    EXPECT_THAT(compared, ElementsAre(Field(&ComparedAttribute::difference, D::Same),
                                      Field(&ComparedAttribute::difference, D::Changed),
                                      Field(&ComparedAttribute::difference, D::OnlyInBackup),
                                      Field(&ComparedAttribute::difference, D::Same),
                                      Field(&ComparedAttribute::difference, D::Changed),
                                      Field(&ComparedAttribute::difference, D::OnlyLive)));
    EXPECT_EQ(compared.back().name, "description");
    EXPECT_THAT(compared[1].live, ElementsAre("Jones"));
    EXPECT_EQ(AttributeComparison::Changes(compared), 4u);
}

TEST(AttributeComparisonTest, ADeletedObjectHasEveryAttributeOnlyInTheBackup)
{
    ObjectDescription description;
    description.backup = {{"cn", {"Bob"}}, {"sn", {"Jones"}}};
    const std::vector<ComparedAttribute> compared = AttributeComparison::Of(description);
    for (const ComparedAttribute &line : compared) {
        EXPECT_EQ(line.difference, AttributeDifference::OnlyInBackup) << line.name;
    }
    EXPECT_EQ(AttributeComparison::Changes(compared), 2u);
}

TEST(AttributeComparisonTest, TextIsShownAsItIsAndBinaryAsSizeAndHash)
{
    struct Case {
        std::string value;
        bool binary;
    };
    const Case cases[] = {
        {"plain", false},
        {"Zoë Ågren, 日本", false},
        {"two\nlines\twith tab", false},
        {"", false},
        {std::string("nul\0inside", 10), true},
        {"\x1b[31m", true},
        {"\xc3", true},         // cut UTF-8 sequence
        {"\xc0\xaf", true},     // overlong form
        {"\xe2\x82\x41", true}, // bad continuation
    };
    for (const Case &test : cases) {
        EXPECT_EQ(AttributeComparison::IsBinary(test.value), test.binary) << test.value;
        if (!test.binary) {
            EXPECT_EQ(AttributeComparison::Shown(test.value), test.value);
        }
    }
    const std::string photo(2048, '\xff');
    const std::string shown = AttributeComparison::Shown(photo);
    EXPECT_THAT(shown, testing::MatchesRegex("2,048 bytes, #[0-9a-f]{8}"));
    std::string other = photo;
    other[1000] = '\xfe';
    EXPECT_NE(AttributeComparison::Shown(other), shown); // one byte apart shows apart
    EXPECT_EQ(AttributeComparison::Shown(photo), shown);
}
} // namespace

namespace
{
using D = AttributeDifference;

std::vector<std::string> Placed(const std::vector<ComparedValue> &values)
{
    std::vector<std::string> placed;
    for (const ComparedValue &value : values) {
        placed.push_back(value.value + ": " + AttributeComparison::PlaceText(value.place));
    }
    return placed;
}

// Two sides cut at the same prefix would show no difference: each value says where it is.
TEST(AttributeComparisonTest, EachValueOfAnAttributeSaysWhereItIs)
{
    const struct {
        std::vector<std::string> backup, live;
        std::vector<std::string> placed;
    } cases[] = {
        {{"cn=Reports,o=Marrowby", "cn=Printers,o=Marrowby"},
         {"cn=Reports,o=Marrowby"},
         {"cn=Reports,o=Marrowby: in both", "cn=Printers,o=Marrowby: only in backup"}},
        {{"1"}, {"2", "1", "3"}, {"1: in both", "2: only live", "3: only live"}},
        {{"b", "a", "b"}, {"a", "a"}, {"b: only in backup", "a: in both"}},
        {{"x", "y"}, {}, {"x: only in backup", "y: only in backup"}},
        {{}, {"y", "x"}, {"y: only live", "x: only live"}},
    };
    for (const auto &c : cases) {
        const ComparedAttribute attribute{"seeAlso", D::Changed, c.backup, c.live};
        EXPECT_EQ(Placed(AttributeComparison::Values(attribute)), c.placed);
    }
}

TEST(AttributeComparisonTest, PasswordAttributesAreSecretAndShowOnlyTheirSize)
{
    ObjectDescription description;
    description.backup = {{"cn", {"Ann"}},
                          {"userPassword", {"plainsecret"}},
                          {"AUTHPASSWORD;binary", {"x", "yz"}},
                          {"sambaNTPassword", {"0123456789ABCDEF"}}};
    description.current = {{"cn", {"Ann"}}, {"userpassword", {"other"}}, {"unicodePwd", {"q"}}};
    const std::vector<ComparedAttribute> compared = AttributeComparison::Of(description);
    std::vector<std::string> secret;
    for (const ComparedAttribute &line : compared) {
        if (line.secret) {
            secret.push_back(line.name);
        }
    }
    EXPECT_THAT(secret, ElementsAre("userPassword", "AUTHPASSWORD;binary", "sambaNTPassword",
                                    "unicodePwd"));
    EXPECT_EQ(compared[1].difference, D::Changed); // still compared
    EXPECT_EQ(AttributeComparison::ShownSecret(compared[1].backup), "secret, 11 bytes");
    EXPECT_EQ(AttributeComparison::ShownSecret(compared[2].backup), "secret, 2 values, 3 bytes");
    EXPECT_EQ(AttributeComparison::ShownSecret({"q"}), "secret, 1 byte");
    EXPECT_EQ(AttributeComparison::ShownSecret({}), "");
}
} // namespace
