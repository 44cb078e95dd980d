// The dump scanner against the reader of whole texts: the same entries and the same faults,
// however the text is cut into reads; and a dump cut anywhere but between entries is refused.
#include <gmock/gmock.h>

#include "catalogue/LdifReader.h"
#include "catalogue/LdifScanner.h"
#include "tests/catalogue/MemorySource.h"

namespace
{
using testing::HasSubstr;

struct Scanned {
    std::vector<LdifEntry> entries; // each entry's text as the scanner hands it, read whole
    std::vector<bool> cleanly;
    std::string fault;
};

Scanned Scan(const std::string &text, std::size_t piece)
{
    MemorySource source(text, piece);
    LdifScanner scanner(source);
    Scanned scanned;
    DumpRecord record;
    LdifScanner::Step step;
    while ((step = scanner.Next(record)) == LdifScanner::Step::Record) {
        LdifReader again(record.text);
        LdifEntry entry;
        EXPECT_EQ(again.Next(entry), LdifReader::Step::Entry) << record.text;
        EXPECT_EQ(entry.dn, record.dn);
        scanned.entries.push_back(entry);
        scanned.cleanly.push_back(record.endedCleanly);
    }
    scanned.fault = step == LdifScanner::Step::Fault ? scanner.Fault() : "";
    return scanned;
}

Scanned ReadWhole(const std::string &text)
{
    LdifReader reader(text);
    Scanned read;
    LdifEntry entry;
    LdifReader::Step step;
    while ((step = reader.Next(entry)) == LdifReader::Step::Entry) {
        read.entries.push_back(entry);
        read.cleanly.push_back(reader.EntryEndedCleanly());
    }
    read.fault = step == LdifReader::Step::Fault ? reader.Fault() : "";
    return read;
}

bool Same(const LdifEntry &a, const LdifEntry &b)
{
    if (a.dn != b.dn || a.attributes.size() != b.attributes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.attributes.size(); ++i) {
        if (a.attributes[i].description != b.attributes[i].description ||
            a.attributes[i].value != b.attributes[i].value) {
            return false;
        }
    }
    return true;
}

const char *const kTexts[] = {
    "version: 1\r\n# a comment\r\n#  folded comment\r\ndn: cn=Ann,o=Mar\r\n rowby\r\ncn: Ann\r\n"
    "description:: WmHDqyBzYWlkIOKAnGhp4oCd\r\n# inside\r\nempty:\r\nsn:   Smith\r\n\r\n\r\n"
    "dn:: Y249Qm9iLG89TWFycm93Ynk=\nobjectClass: person\n\n",
    "version: 1\n\ndn: o=M\nobjectClass: organization\n\n\n\ndn: cn=A,o=M\ncn: A\n",
    "dn: o=M\n\n# trailing comment\n",
    "version: 2\n\ndn: o=M\n\n",
    "dn: o=M\nbroken line\n\n",
    " continuation of nothing\ndn: o=M\n\n",
    "cn: A\ndn: o=M\n\n",
    "dn: o=M\nchangetype: add\n\n",
    "dn: o=M\njpegPhoto:: not base64!\n\n",
    "dn: o=M\nlabeledURI:< file:///etc/passwd\n\n",
    "dn: o=M\ncn: x\n\r",
    "",
    "\n\n# only a comment\n\n",
};

TEST(LdifScanner, GivesTheReadersEntriesAndFaultsHoweverTheTextIsRead)
{
    for (const char *text : kTexts) {
        const Scanned whole = ReadWhole(text);
        for (std::size_t piece : {1u, 2u, 3u, 7u, 64u, 1u << 20}) {
            const Scanned scanned = Scan(text, piece);
            ASSERT_EQ(scanned.entries.size(), whole.entries.size()) << text << " / " << piece;
            for (std::size_t i = 0; i < whole.entries.size(); ++i) {
                EXPECT_TRUE(Same(scanned.entries[i], whole.entries[i])) << text << " / " << i;
                EXPECT_EQ(scanned.cleanly[i], whole.cleanly[i]) << text << " / " << i;
            }
            EXPECT_EQ(scanned.fault, whole.fault) << text << " / " << piece;
        }
    }
}

// The fingerprint is of the entry's lines, not of how the dump folds them or ends its lines; the
// identity and the object classes are read from any spelling.
TEST(LdifScanner, FingerprintsLinesNotFoldsAndReadsIdentityAndClasses)
{
    const std::string plain =
        "dn: cn=Ann,o=M\nobjectClass: Person\nobjectClass: top\nobjectclass: person\n"
        "entryUUID: 5f0c8a52-1d3c-4b4e-9d1a-3c2b1a0f9e8d\ndescription: a long value\n\n";
    const std::string folded =
        "dn: cn=Ann,o=M\r\nobjectClass: Person\r\nobjectClass: top\r\nobjectclass: person\r\n"
        "entryUUID: 5f0c8a52-1d3c-4b4e-9d1a-3c2b1a0f9e8d\r\ndescription: a lo\r\n ng value\r\n\r\n";
    const std::string changed = plain.substr(0, plain.size() - 8) + "Value\n\n";
    std::vector<uint64_t> fingerprints;
    std::string classes;
    std::string identity;
    for (const std::string &text : {plain, folded, changed}) {
        MemorySource source(text, 5);
        LdifScanner scanner(source);
        DumpRecord record;
        ASSERT_EQ(scanner.Next(record), LdifScanner::Step::Record) << scanner.Fault();
        fingerprints.push_back(record.fingerprint);
        scanner.Describe(classes, identity);
        EXPECT_EQ(classes, "person top");
        EXPECT_EQ(identity, std::string("\x5f\x0c\x8a\x52\x1d\x3c\x4b\x4e\x9d\x1a\x3c\x2b\x1a"
                                        "\x0f\x9e\x8d",
                                        16));
    }
    EXPECT_EQ(fingerprints[0], fingerprints[1]);
    EXPECT_NE(fingerprints[0], fingerprints[2]);

    MemorySource guid("dn: cn=Ann,o=M\nobjectGUID:: AAECAwQFBgcICQoLDA0ODw==\n\n", 3);
    LdifScanner scanner(guid);
    DumpRecord record;
    ASSERT_EQ(scanner.Next(record), LdifScanner::Step::Record);
    scanner.Describe(classes, identity);
    EXPECT_EQ(classes, "");
    EXPECT_EQ(identity, std::string("\0\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17", 16));
}

// A dump cut anywhere (an interrupted run, a full disk) ends in a record that no empty line
// follows, or in a fault: only a cut right behind an entry's empty line gives whole entries.
TEST(LdifScanner, DumpCutAnywhereEndsUncleanlyOrInAFault)
{
    const std::string dump = "version: 1\n\n"
                             "dn: o=M\nobjectClass: organization\no: M\n\n"
                             "dn: cn=Ann,o=M\nobjectClass: person\ncn: Ann\n"
                             "description: a long description that was folded over two\n"
                             "  lines by the dump\n\n"
                             "dn:: Y249Wm/DqyxvPU0=\nobjectClass: person\ncn:: Wm/Dqw==\n\n";
    for (std::size_t cut = 1; cut < dump.size(); ++cut) {
        const std::string prefix = dump.substr(0, cut);
        const bool atBoundary = prefix.ends_with("\n\n") && prefix.find("dn:") != std::string::npos;
        const Scanned scanned = Scan(prefix, 4);
        const bool whole =
            scanned.fault.empty() && !scanned.entries.empty() && scanned.cleanly.back();
        EXPECT_EQ(whole, atBoundary) << cut;
    }
}
} // namespace
