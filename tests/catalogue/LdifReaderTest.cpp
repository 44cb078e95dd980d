// Reading LDIF snapshots: the forms a dump may take, and the texts that are not LDIF.
#include <gmock/gmock.h>

#include "catalogue/Base64.h"
#include "catalogue/LdifReader.h"

namespace
{
using testing::HasSubstr;

std::vector<LdifEntry> ReadAll(const std::string &text, std::string *fault = nullptr)
{
    LdifReader reader(text);
    std::vector<LdifEntry> entries;
    LdifEntry entry;
    LdifReader::Step step;
    while ((step = reader.Next(entry)) == LdifReader::Step::Entry) {
        entries.push_back(entry);
    }
    if (fault != nullptr) {
        *fault = step == LdifReader::Step::Fault ? reader.Fault() : "";
    }
    return entries;
}

TEST(LdifReader, ReadsFoldedBase64CommentedAndCrlfEntries)
{
    const std::string text = "version: 1\r\n"
                             "# a comment\r\n"
                             "#  folded comment\r\n"
                             "dn: cn=Ann,o=Mar\r\n"
                             " rowby\r\n"
                             "cn: Ann\r\n"
                             "description:: WmHDqyBzYWlkIOKAnGhp4oCd\r\n"
                             "# inside the entry\r\n"
                             "empty:\r\n"
                             "sn:   Smith\r\n"
                             "\r\n"
                             "\r\n"
                             "dn:: Y249Qm9iLG89TWFycm93Ynk=\n"
                             "cn: Bob\n";
    std::string fault;
    const std::vector<LdifEntry> entries = ReadAll(text, &fault);
    EXPECT_EQ(fault, "");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].dn, "cn=Ann,o=Marrowby");
    ASSERT_EQ(entries[0].attributes.size(), 4u);
    EXPECT_EQ(entries[0].attributes[1].value, "Zaë said “hi”");
    EXPECT_EQ(entries[0].attributes[2].description, "empty");
    EXPECT_EQ(entries[0].attributes[2].value, "");
    EXPECT_EQ(entries[0].attributes[3].value, "Smith");
    EXPECT_EQ(entries[1].dn, "cn=Bob,o=Marrowby");
}

TEST(LdifReader, GivesEachEntrysPlaceSoItCanBeReadAgain)
{
    const std::string text = "# dump\n\ndn: cn=A,o=M\ncn: A\n\n\ndn: cn=B,o=M\ncn: B\n cont\n";
    LdifReader reader(text);
    LdifEntry entry;
    ASSERT_EQ(reader.Next(entry), LdifReader::Step::Entry);
    ASSERT_EQ(reader.Next(entry), LdifReader::Step::Entry);
    LdifReader again(std::string_view(text).substr(reader.EntryOffset(), reader.EntryLength()));
    LdifEntry reread;
    ASSERT_EQ(again.Next(reread), LdifReader::Step::Entry);
    EXPECT_EQ(reread.dn, "cn=B,o=M");
    EXPECT_EQ(reread.attributes[0].value, "Bcont");
    EXPECT_EQ(again.Next(reread), LdifReader::Step::End);
}

TEST(LdifReader, TextsThatAreNotSnapshotsAreFaultsWithTheirLine)
{
    struct Case {
        const char *text;
        const char *line;
    };
    const Case cases[] = {
        {"cn: Ann\n", "line 1"},
        {"dn: cn=A,o=M\nno colon here\n", "line 1"},
        {"dn: cn=A,o=M\ncn: A\n\ndn: cn=B,o=M\ncn:: not*base64\n", "line 4"},
        {"dn: cn=A,o=M\nchangetype: delete\n", "line 1"},
        {"dn: cn=A,o=M\njpegPhoto:< file:///etc/passwd\n", "line 1"},
        {"version: 2\ndn: cn=A,o=M\n", "line 1"},
        {" continuation first\n", "line 1"},
        {"dn: cn=A,o=M\nbad name!: x\n", "line 1"},
        {"\x01\x02garbage", "line 1"},
    };
    for (const Case &c : cases) {
        std::string fault;
        ReadAll(c.text, &fault);
        EXPECT_THAT(fault, HasSubstr(c.line)) << c.text;
    }
}

TEST(Base64, DecodesPaddedGroupsAndRefusesTheRest)
{
    EXPECT_EQ(DecodeBase64("").value(), "");
    EXPECT_EQ(DecodeBase64("QQ==").value(), "A");
    EXPECT_EQ(DecodeBase64("QUI=").value(), "AB");
    EXPECT_EQ(DecodeBase64("QUJD").value(), "ABC");
    for (const char *bad : {"QQ", "Q===", "QQ=A", "QU I=", "QUJD=QQ=", "*AAA"}) {
        EXPECT_FALSE(DecodeBase64(bad)) << bad;
    }
}
} // namespace
