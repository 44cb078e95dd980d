// The index of a catalogue answers as the dumps would, reads only what is new, and is never
// trusted when it is damaged or another's.
#include <gmock/gmock.h>

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "catalogue/DistinguishedName.h"
#include "catalogue/SqliteDatabase.h"
#include "tests/catalogue/CatalogueFolder.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

std::string Canonical(const char *dn)
{
    return DistinguishedName::Parse(dn)->Canonical();
}

std::string Person(const std::string &name, const std::string &description)
{
    return "dn: cn=" + name + ",ou=Sales,o=M\nobjectClass: person\ncn: " + name +
           "\ndescription: " + description + "\n\n";
}

const std::string kTop = "dn: o=M\nobjectClass: organization\n\n"
                         "dn: ou=Sales,o=M\nobjectClass: organizationalUnit\n\n";

std::vector<std::string> Names(const std::vector<ArchivedName> &names)
{
    std::vector<std::string> dns;
    for (const ArchivedName &name : names) {
        dns.push_back(name.dn);
    }
    return dns;
}

std::string Description(CatalogueIndex &index, const char *dn, uint32_t time)
{
    std::optional<ArchivedEntry> held = index.Holding(Canonical(dn), time);
    if (!held) {
        return "(none)";
    }
    std::string fault;
    std::optional<LdifEntry> entry = index.Read(*held, fault);
    for (const LdifAttribute &attribute :
         entry ? entry->attributes : std::vector<LdifAttribute>{}) {
        if (attribute.description == "description") {
            return attribute.value;
        }
    }
    return "(unread: " + fault + ")";
}

// Ann changes on the second night, Bob goes on the third and Cid comes then.
void WriteThreeNights(const CatalogueFolder &folder)
{
    folder.Write("1000.ldif", kTop + Person("Ann", "first") + Person("Bob", "bob"));
    folder.Write("2000.ldif", kTop + Person("Ann", "second") + Person("Bob", "bob"));
    folder.Write("3000.ldif", kTop + Person("Ann", "second") + Person("Cid", "cid"));
}

void ExpectThreeNights(CatalogueIndex &index)
{
    EXPECT_THAT(index.TimesOf(Canonical("cn=Ann,ou=Sales,o=M")), ElementsAre(3000u, 2000u, 1000u));
    EXPECT_THAT(index.TimesOf(Canonical("cn=Bob,ou=Sales,o=M")), ElementsAre(2000u, 1000u));
    EXPECT_THAT(index.TimesOf(Canonical("cn=Cid,ou=Sales,o=M")), ElementsAre(3000u));
    EXPECT_EQ(Description(index, "cn=Ann,ou=Sales,o=M", 1000), "first");
    EXPECT_EQ(Description(index, "cn=Ann,ou=Sales,o=M", 2000), "second");
    EXPECT_EQ(Description(index, "cn=Ann,ou=Sales,o=M", 0), "second");
    EXPECT_EQ(Description(index, "cn=Bob,ou=Sales,o=M", 0), "bob");
    EXPECT_EQ(Description(index, "cn=Cid,ou=Sales,o=M", 2000), "(none)");
    EXPECT_THAT(Names(index.ChildrenOf(Canonical("ou=sales,o=m"))),
                ElementsAre("cn=Ann,ou=Sales,o=M", "cn=Bob,ou=Sales,o=M", "cn=Cid,ou=Sales,o=M"));
    EXPECT_TRUE(index.WasContainer(Canonical("ou=Sales,o=M")));
    EXPECT_FALSE(index.WasContainer(Canonical("cn=Ann,ou=Sales,o=M")));
    EXPECT_TRUE(index.TakeFault().empty());
}

TEST(CatalogueIndex, AnswersFromTheIndexAndReadsNothingTheSecondTime)
{
    CatalogueFolder folder;
    WriteThreeNights(folder);
    std::string fault;
    {
        std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
        ASSERT_TRUE(index) << fault;
        EXPECT_EQ(index->Update().read.size(), 3u);
        ExpectThreeNights(*index);
    }
    std::unique_ptr<CatalogueIndex> again = folder.Open(fault);
    ASSERT_TRUE(again) << fault;
    EXPECT_THAT(again->Update().read, IsEmpty());
    EXPECT_FALSE(again->Update().rebuilt);
    ExpectThreeNights(*again);
    std::optional<ArchivedEntry> sales = again->Holding(Canonical("ou=Sales,o=M"), 2000);
    ASSERT_TRUE(sales);
    std::vector<std::string> subtree;
    for (const ArchivedEntry &entry : again->Subtree(*sales)) {
        subtree.push_back(entry.dn);
    }
    EXPECT_THAT(subtree, ElementsAre("ou=Sales,o=M", "cn=Ann,ou=Sales,o=M", "cn=Bob,ou=Sales,o=M"));
}

// What changes between nights is kept once: a night like the one before adds no version.
TEST(CatalogueIndex, KeepsWhatChangesNotWhatRepeats)
{
    CatalogueFolder folder;
    std::string people;
    for (int i = 0; i < 500; ++i) {
        people += Person("P" + std::to_string(i), "the same every night");
    }
    folder.Write("1000.ldif", kTop + people);
    std::string fault;
    ASSERT_TRUE(folder.Open(fault)) << fault;
    const auto once = std::filesystem::file_size(folder.Open(fault)->IndexPath());
    for (int night = 2; night <= 30; ++night) {
        folder.Write(std::to_string(night * 1000) + ".ldif", kTop + people);
    }
    std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
    ASSERT_TRUE(index) << fault;
    EXPECT_EQ(index->Dumps().size(), 30u);
    EXPECT_EQ(index->TimesOf(Canonical("cn=P7,ou=Sales,o=M")).size(), 30u);
    EXPECT_LT(std::filesystem::file_size(index->IndexPath()), once * 3 / 2);
}

// A dump gone from the folder leaves every history; one that comes back after the newest is
// read alone; one older than the newest, or one rewritten, has the index built again.
TEST(CatalogueIndex, FollowsDumpsRemovedAddedAndRewritten)
{
    CatalogueFolder folder;
    WriteThreeNights(folder);
    std::string fault;
    ASSERT_TRUE(folder.Open(fault)) << fault;

    std::filesystem::remove(folder.Dumps() + "/1000.ldif");
    std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
    ASSERT_TRUE(index) << fault;
    EXPECT_FALSE(index->Update().rebuilt);
    EXPECT_THAT(index->Update().removed, ElementsAre("1000.ldif"));
    EXPECT_THAT(index->TimesOf(Canonical("cn=Ann,ou=Sales,o=M")), ElementsAre(3000u, 2000u));
    EXPECT_EQ(Description(*index, "cn=Ann,ou=Sales,o=M", 1000), "(none)");

    std::filesystem::remove(folder.Dumps() + "/2000.ldif");
    index = folder.Open(fault);
    EXPECT_THAT(Names(index->ChildrenOf(Canonical("ou=sales,o=m"))),
                ElementsAre("cn=Ann,ou=Sales,o=M", "cn=Cid,ou=Sales,o=M"));

    folder.Write("4000.ldif", kTop + Person("Ann", "fourth"));
    index = folder.Open(fault);
    ASSERT_EQ(index->Update().read.size(), 1u);
    EXPECT_FALSE(index->Update().rebuilt);
    EXPECT_THAT(index->TimesOf(Canonical("cn=Cid,ou=Sales,o=M")), ElementsAre(3000u));
    EXPECT_EQ(Description(*index, "cn=Ann,ou=Sales,o=M", 0), "fourth");

    folder.Write("1500.ldif", kTop + Person("Bob", "back"));
    folder.Write("3000.ldif", kTop + Person("Ann", "rewritten") + Person("Cid", "cid"));
    index = folder.Open(fault);
    ASSERT_TRUE(index) << fault;
    EXPECT_TRUE(index->Update().rebuilt);
    EXPECT_THAT(index->TimesOf(Canonical("cn=Bob,ou=Sales,o=M")), ElementsAre(1500u));
    EXPECT_EQ(Description(*index, "cn=Ann,ou=Sales,o=M", 3000), "rewritten");
    EXPECT_THAT(index->TimesOf(Canonical("cn=Ann,ou=Sales,o=M")), ElementsAre(4000u, 3000u));
}

TEST(CatalogueIndex, DamagedOrForeignIndexIsBuiltAgain)
{
    CatalogueFolder folder;
    WriteThreeNights(folder);
    std::string fault;
    std::string path = folder.Open(fault)->IndexPath();
    const auto size = std::filesystem::file_size(path);
    for (const std::string &damage :
         {std::string("not an index at all"), std::string(size, '\xff'), std::string()}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damage;
        std::filesystem::remove(path + "-wal");
        std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
        ASSERT_TRUE(index) << fault;
        EXPECT_EQ(index->Update().read.size(), 3u);
        ExpectThreeNights(*index);
    }
    // An SQLite file of something else at the index's place.
    {
        std::filesystem::remove(path);
        SqliteDatabase other(path);
        other.Execute("CREATE TABLE dumps(x); INSERT INTO dumps VALUES(1)");
    }
    std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
    ASSERT_TRUE(index) << fault;
    EXPECT_THAT(index->Notes(), ElementsAre(HasSubstr("not this catalogue's")));
    ExpectThreeNights(*index);
}

// A dump that does not end cleanly is never a backup: it is left out with its reason, and read
// again only when it changes.
TEST(CatalogueIndex, CutOrDuplicateDumpsAreLeftOutUntilTheyChange)
{
    CatalogueFolder folder;
    const std::string whole = kTop + Person("Ann", "whole");
    folder.Write("1000.ldif", whole);
    folder.Write("2000.ldif", whole.substr(0, whole.size() - 3));
    folder.Write("3000.ldif.gz", CatalogueFolder::Compressed("x.gz", whole).substr(0, 30));
    folder.Write("4000.ldif", whole + "dn: CN=ann, OU=sales, O=m\ncn: Ann\n\n");
    std::string fault;
    std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
    ASSERT_TRUE(index) << fault;
    EXPECT_THAT(index->TimesOf(Canonical("cn=Ann,ou=Sales,o=M")), ElementsAre(1000u));
    ASSERT_EQ(index->LeftOut().size(), 3u);
    EXPECT_THAT(index->LeftOut()[0].reason, HasSubstr("cut short"));
    EXPECT_THAT(index->LeftOut()[1].reason, HasSubstr("cut short"));
    EXPECT_THAT(index->LeftOut()[2].reason, HasSubstr("appears twice"));

    index = folder.Open(fault);
    EXPECT_THAT(index->Update().read, IsEmpty());
    EXPECT_EQ(index->LeftOut().size(), 3u);

    folder.Write("4000.ldif", whole); // the dump finished
    index = folder.Open(fault);
    EXPECT_THAT(index->TimesOf(Canonical("cn=Ann,ou=Sales,o=M")), ElementsAre(4000u, 1000u));
    EXPECT_EQ(index->LeftOut().size(), 2u);
}

TEST(CatalogueIndex, CompressedDumpsGiveTheAnswersOfPlainOnes)
{
    for (const char *ending : {".ldif.gz", ".ldif.zst", ".ldif.xz"}) {
        CatalogueFolder folder;
        folder.WriteCompressed(std::string("1000") + ending,
                               kTop + Person("Ann", "first") + Person("Bob", "bob"));
        folder.WriteCompressed(std::string("2000") + ending,
                               kTop + Person("Ann", "second") + Person("Bob", "bob"));
        folder.WriteCompressed(std::string("3000") + ending,
                               kTop + Person("Ann", "second") + Person("Cid", "cid"));
        std::string fault;
        std::unique_ptr<CatalogueIndex> index = folder.Open(fault);
        ASSERT_TRUE(index) << ending << ": " << fault;
        EXPECT_THAT(index->LeftOut(), IsEmpty()) << ending;
        ExpectThreeNights(*index);

        const std::string cut = CatalogueFolder::Compressed(ending, kTop + Person("Ann", "fourth") +
                                                                        Person("Cid", "cid"));
        folder.Write(std::string("4000") + ending, cut.substr(0, cut.size() - 5));
        index = folder.Open(fault);
        ASSERT_EQ(index->LeftOut().size(), 1u) << ending;
        EXPECT_THAT(index->LeftOut()[0].reason, HasSubstr("cut short")) << ending;
        ExpectThreeNights(*index);
    }
}

// Stopped while reading a new dump: the index stays as it was, without the dump, which is read
// at the next opening.
TEST(CatalogueIndex, StoppedIndexingLeavesTheIndexAsItWas)
{
    CatalogueFolder folder;
    WriteThreeNights(folder);
    std::string fault;
    ASSERT_TRUE(folder.Open(fault)) << fault;
    std::string people;
    for (int i = 0; i < 20000; ++i) {
        people += Person("P" + std::to_string(i), "new");
    }
    folder.Write("4000.ldif", kTop + people);
    std::atomic<bool> stop{false};
    std::vector<uint64_t> seen;
    IndexProgress progress{[&](const IndexStep &step) {
                               seen.push_back(step.done);
                               stop = step.done > 0; // once the dump is under way
                           },
                           &stop};
    std::unique_ptr<CatalogueIndex> index = folder.Open(fault, progress);
    ASSERT_TRUE(index) << fault;
    EXPECT_TRUE(index->Update().stopped);
    EXPECT_GE(seen.size(), 2u);
    EXPECT_THAT(index->TimesOf(Canonical("cn=P1,ou=Sales,o=M")), IsEmpty());
    ExpectThreeNights(*index);

    index = folder.Open(fault);
    EXPECT_EQ(index->Update().read.size(), 1u);
    EXPECT_THAT(index->TimesOf(Canonical("cn=P1,ou=Sales,o=M")), ElementsAre(4000u));
}
} // namespace
