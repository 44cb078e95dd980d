// GUIDs of a domain's objects, from objectGUID values and extended DNs.
#include <gtest/gtest.h>

#include "server/directory/ExtendedDn.h"

namespace
{
TEST(ExtendedDn, GuidOfAnExtendedDnAndTheDnProper)
{
    const struct {
        const char *text;
        const char *guid;
        const char *dn;
    } cases[] = {
        {"<GUID=03B4C5EE-B384-4F10-A859-D64982D29367>;OU=Sales,DC=marrowby,DC=test",
         "03b4c5ee-b384-4f10-a859-d64982d29367", "OU=Sales,DC=marrowby,DC=test"},
        {"<GUID=01c8b092-a74f-4c8b-96de-58388d93928a>;<SID=S-1-5-21-1-2-3-1103>;CN=Bob\\0ADEL:01c8,"
         "CN=Deleted Objects,DC=marrowby,DC=test",
         "01c8b092-a74f-4c8b-96de-58388d93928a",
         "CN=Bob\\0ADEL:01c8,CN=Deleted Objects,DC=marrowby,DC=test"},
        {"<SID=S-1-5-21-1>;CN=Ann,DC=m", "", "CN=Ann,DC=m"},
        {"CN=Plain,DC=m", "", "CN=Plain,DC=m"},
        {"<GUID=unterminated", "", "<GUID=unterminated"},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        const ExtendedDn parsed = ExtendedDn::Parse(c.text);
        EXPECT_EQ(parsed.guid, c.guid) << c.text;
        EXPECT_EQ(parsed.dn, c.dn) << c.text;
    }
}

TEST(ExtendedDn, ObjectGuidBytesReadWithTheirFirstThreeFieldsLittleEndian)
{
    const std::string bytes("\xac\x65\xac\x79\x14\xbc\xb2\x40\xb4\x11\x55\x24\xbd\x9a\xad\x22", 16);
    EXPECT_EQ(ExtendedDn::GuidText(bytes), "79ac65ac-bc14-40b2-b411-5524bd9aad22");
    EXPECT_EQ(ExtendedDn::GuidText(bytes.substr(0, 15)), "");
    EXPECT_EQ(ExtendedDn::GuidText(bytes + "x"), "");
    EXPECT_EQ(ExtendedDn::GuidDn("79ac65ac-bc14-40b2-b411-5524bd9aad22"),
              "<GUID=79ac65ac-bc14-40b2-b411-5524bd9aad22>");
}
} // namespace
