// Snapshots indexed once: entries by name, children by parent, subtrees parents first, and a
// catalogue folder with good and bad files.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <fstream>

#include "server/directory/SnapshotCatalogue.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;

class ScratchFolder
{
  public:
    ScratchFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-catalogue-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string Write(const std::string &name, const std::string &text) const
    {
        std::ofstream(path + "/" + name, std::ios::binary | std::ios::trunc) << text;
        return path + "/" + name;
    }
    std::string path;
};

// Children before their parents, and names spelt differently from their parents' entries.
const std::string kOutOfOrder =
    "dn: cn=Eve,ou=North,ou=East,o=M\ncn: Eve\n\n"
    "dn: CN=Cid, OU=East, O=M\ncn: Cid\n\n"
    "dn: ou=North,ou=East,o=M\nobjectClass: organizationalUnit\n\n"
    "dn: ou=East,o=M\nobjectClass: top\nobjectClass: OrganizationalUnit\n"
    "\n"
    "dn: o=M\nobjectClass: organization\n\n";

std::vector<std::string> Dns(const std::vector<const SnapshotEntry *> &entries)
{
    std::vector<std::string> dns;
    for (const SnapshotEntry *entry : entries) {
        dns.push_back(entry->dn);
    }
    return dns;
}

std::string Canonical(const char *dn)
{
    return DistinguishedName::Parse(dn)->Canonical();
}

TEST(Snapshot, IndexesEntriesAndChildrenWhateverTheOrderAndSpelling)
{
    ScratchFolder folder;
    std::string fault;
    auto snapshot = Snapshot::Load(folder.Write("1.ldif", kOutOfOrder), 1,
                                   SnapshotCatalogue::DefaultContainerClasses(), fault);
    ASSERT_TRUE(snapshot) << fault;
    EXPECT_EQ(snapshot->Size(), 5u);
    EXPECT_THAT(Dns(snapshot->ChildrenOf(Canonical("ou=east,o=m"))),
                ElementsAre("CN=Cid, OU=East, O=M", "ou=North,ou=East,o=M"));
    EXPECT_THAT(Dns(snapshot->Subtree(Canonical("ou=East,o=M"))),
                ElementsAre("ou=East,o=M", "CN=Cid, OU=East, O=M", "ou=North,ou=East,o=M",
                            "cn=Eve,ou=North,ou=East,o=M"));
    EXPECT_TRUE(snapshot->Find(Canonical("ou=East,o=M"))->containerClass);
    EXPECT_FALSE(snapshot->Find(Canonical("cn=Cid,ou=East,o=M"))->containerClass);
    EXPECT_TRUE(snapshot->HasChildren(Canonical("ou=North,ou=East,o=M")));
    EXPECT_FALSE(snapshot->HasChildren(Canonical("cn=Eve,ou=North,ou=East,o=M")));

    const std::optional<LdifEntry> read =
        snapshot->Read(*snapshot->Find(Canonical("ou=east,o=m")), fault);
    ASSERT_TRUE(read) << fault;
    EXPECT_EQ(read->attributes.size(), 2u);
    EXPECT_EQ(read->attributes[1].value, "OrganizationalUnit");
}

TEST(Snapshot, RefusesFilesThatCannotBeTrusted)
{
    ScratchFolder folder;
    const struct {
        const char *text;
        const char *fault;
    } cases[] = {
        {"dn: cn=A,o=M\n\ndn: CN=a,o=m\n", "twice"},
        {"dn: not a dn\n", "not a distinguished name"},
        {"dn:\ncn: root\n", "not a distinguished name"},
        {"dn: cn=A,o=M\nbroken\n", "line 1"},
    };
    for (const auto &c : cases) {
        std::string fault;
        EXPECT_FALSE(Snapshot::Load(folder.Write("x.ldif", c.text), 1, {}, fault)) << c.text;
        EXPECT_THAT(fault, HasSubstr(c.fault)) << c.text;
    }
    std::string fault;
    EXPECT_FALSE(Snapshot::Load(folder.path + "/missing.ldif", 1, {}, fault));
}

// A dump cut anywhere (an interrupted run, a full disk) is not a backup: only a text that ends
// with the empty line behind an entry is one. Every cut of a dump with folded and base64
// values, with LF and with CRLF line ends, is tried.
TEST(Snapshot, DumpCutAnywhereButBetweenEntriesIsRefused)
{
    const std::string dump = "version: 1\n\n"
                             "dn: o=M\nobjectClass: organization\no: M\n\n"
                             "dn: cn=Ann,o=M\nobjectClass: person\ncn: Ann\nserialNumber: 7\n"
                             "description: a long description that was folded over two\n"
                             "  lines by the dump\n\n"
                             "dn:: Y249Wm/DqyxvPU0=\nobjectClass: person\ncn:: Wm/Dqw==\n"
                             "sn: Z\n\n";
    std::string crlf;
    for (char c : dump) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    for (const std::string &text : {dump, crlf}) {
        const std::string blank = text == dump ? "\n\n" : "\r\n\r\n";
        std::size_t complete = 0; // entries of the longest clean prefix
        for (std::size_t cut = 1; cut <= text.size(); ++cut) {
            const std::string prefix = text.substr(0, cut);
            const bool atBoundary =
                prefix.size() >= blank.size() &&
                prefix.compare(prefix.size() - blank.size(), blank.size(), blank) == 0 &&
                prefix.find("dn:") != std::string::npos;
            std::string fault;
            auto snapshot = Snapshot::Parse(prefix, "cut.ldif", 1, {}, fault);
            EXPECT_EQ(snapshot != nullptr, atBoundary) << cut << ": " << fault;
            if (snapshot) {
                EXPECT_GT(snapshot->Size(), complete) << cut;
                complete = snapshot->Size();
            } else {
                EXPECT_FALSE(fault.empty()) << cut;
            }
        }
        EXPECT_EQ(complete, 3u);
    }
}

TEST(Snapshot, CutShortOrEmptyFilesSayWhy)
{
    const struct {
        const char *text;
        const char *fault;
    } cases[] = {
        {"dn: o=M\nobjectClass: organization\n\ndn: cn=Ann,o=M\ndescription: cut in",
         "its last entry (cn=Ann,o=M) is not followed by an empty line: the file may have been "
         "cut short"},
        {"dn: o=M\nobjectClass: organization\n", "its last entry (o=M) is not followed"},
        {"dn: o=M\nobjectClass: organization\n\ndn: cn=Ann,o=M\ndescri", "line 4"},
        {"", "it holds no entry"},
        {"version: 1\n\n", "it holds no entry"},
        {"# only a comment\n", "it holds no entry"},
    };
    for (const auto &c : cases) {
        std::string fault;
        EXPECT_FALSE(Snapshot::Parse(c.text, "x.ldif", 1, {}, fault)) << c.text;
        EXPECT_THAT(fault, HasSubstr(c.fault)) << c.text;
    }
    // Comments and blank lines behind the last entry do not make it incomplete.
    std::string fault;
    EXPECT_TRUE(Snapshot::Parse("dn: o=M\nobjectClass: organization\n\n\n# end of dump\n", "x", 1,
                                {}, fault))
        << fault;
}

TEST(Snapshot, EntryIsNotReadFromAFileThatChangedSinceIndexing)
{
    ScratchFolder folder;
    const std::string path = folder.Write("1.ldif", kOutOfOrder);
    std::string fault;
    auto snapshot = Snapshot::Load(path, 1, {}, fault);
    ASSERT_TRUE(snapshot);
    folder.Write("1.ldif", "dn: o=M\nobjectClass: organization\n");
    EXPECT_FALSE(snapshot->Read(*snapshot->Find(Canonical("o=M")), fault));
    EXPECT_THAT(fault, HasSubstr("changed"));
}

TEST(SnapshotCatalogue, OrdersSnapshotsNewestFirstAndReportsBadFilesOnce)
{
    ScratchFolder folder;
    folder.Write("1000.ldif", "dn: o=M\n\ndn: cn=Old,o=M\n\n");
    folder.Write("3000.ldif", "dn: o=M\n\ndn: cn=New,o=M\n\n");
    const std::string weekly = folder.Write("weekly.ldif", "dn: o=M\n\n");
    const utimbuf times{2000, 2000};
    ASSERT_EQ(::utime(weekly.c_str(), &times), 0);
    folder.Write("4000.ldif", "garbage\n");
    folder.Write("README", "not a snapshot");
    std::filesystem::create_directory(folder.path + "/5000.ldif");

    SnapshotCatalogue catalogue;
    std::vector<std::string> reports;
    ASSERT_TRUE(
        catalogue.Load(folder.path, {}, [&](const std::string &r) { reports.push_back(r); }));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_THAT(reports[0], HasSubstr("4000.ldif"));
    ASSERT_EQ(catalogue.LeftOutFiles().size(), 1u);
    EXPECT_EQ(catalogue.LeftOutFiles()[0].path, folder.path + "/4000.ldif");
    EXPECT_THAT(catalogue.LeftOutFiles()[0].reason, HasSubstr("line 1"));
    std::vector<BackupTime> order;
    for (const auto &snapshot : catalogue.Snapshots()) {
        order.push_back(snapshot->Time());
    }
    EXPECT_THAT(order, ElementsAre(3000u, 2000u, 1000u));
    EXPECT_THAT(catalogue.TimesOf(Canonical("o=M")), ElementsAre(3000u, 2000u, 1000u));
    EXPECT_THAT(catalogue.TimesOf(Canonical("cn=Old,o=M")), ElementsAre(1000u));
    EXPECT_EQ(catalogue.Holding(Canonical("o=M"), 0)->Time(), 3000u);
    EXPECT_EQ(catalogue.Holding(Canonical("o=M"), 2000)->Time(), 2000u);
    EXPECT_EQ(catalogue.Holding(Canonical("cn=New,o=M"), 1000), nullptr);
    EXPECT_TRUE(catalogue.HadChildren(Canonical("o=M")));

    EXPECT_FALSE(catalogue.Load(folder.path + "/none", {},
                                [&](const std::string &r) { reports.push_back(r); }));
    EXPECT_TRUE(catalogue.LeftOutFiles().empty());
}

// A cut snapshot is the newest file of the folder: it must not be the newest version of anything,
// nor hold anything at all.
TEST(SnapshotCatalogue, CutSnapshotIsInNoHistory)
{
    ScratchFolder folder;
    const std::string whole = "dn: o=M\nobjectClass: organization\n\n"
                              "dn: cn=Ann,o=M\nobjectClass: person\nserialNumber: 7\n"
                              "description: whole\n\n";
    folder.Write("1000.ldif", whole);
    folder.Write("2000.ldif", whole.substr(0, whole.find("serialNumber")) + "description: cu");
    folder.Write("3000.ldif", whole.substr(0, whole.find("serialNumber") + 3));
    SnapshotCatalogue catalogue;
    std::vector<std::string> reports;
    ASSERT_TRUE(
        catalogue.Load(folder.path, {}, [&](const std::string &r) { reports.push_back(r); }));
    EXPECT_THAT(catalogue.TimesOf(Canonical("cn=Ann,o=M")), ElementsAre(1000u));
    EXPECT_THAT(catalogue.TimesOf(Canonical("o=M")), ElementsAre(1000u));
    EXPECT_EQ(catalogue.Holding(Canonical("cn=Ann,o=M"), 0)->Time(), 1000u);
    ASSERT_EQ(catalogue.LeftOutFiles().size(), 2u);
    EXPECT_EQ(catalogue.LeftOutFiles()[0].path, folder.path + "/2000.ldif");
    EXPECT_THAT(catalogue.LeftOutFiles()[0].reason, HasSubstr("cut short"));
    EXPECT_EQ(catalogue.LeftOutFiles()[1].path, folder.path + "/3000.ldif");
    EXPECT_THAT(catalogue.LeftOutFiles()[1].reason, HasSubstr("line 4"));
    EXPECT_EQ(reports.size(), 2u);
}
} // namespace
