// The directory server answers from its catalogue's index: listings, histories, Find, Compare
// and restores are the same whether the index was just built from the dumps, read back without
// a dump being read, or built from the same dumps compressed; and the index follows the folder
// as dumps come, go, are cut short, or the index itself is damaged.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "catalogue/DistinguishedName.h"
#include "catalogue/LdifReader.h"
#include "server/ServerClient.h"
#include "tests/catalogue/CatalogueFolder.h"
#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

const std::string kMore = "\ndn: ou=East,ou=Sales,o=Marrowby\nobjectClass: organizationalUnit\n"
                          "ou: East\n\n"
                          "dn: cn=Cid,ou=East,ou=Sales,o=Marrowby\nobjectClass: person\ncn: Cid\n"
                          "sn: Brown\ndescription: first\n";

// Objects the answers are asked about, by full name and DN.
const std::vector<std::pair<std::string, std::string>> kObjects = {
    {"Marrowby", "o=Marrowby"},
    {"Sales.Marrowby", "ou=Sales,o=Marrowby"},
    {"Ann.Sales.Marrowby", "cn=Ann,ou=Sales,o=Marrowby"},
    {"Bob.Sales.Marrowby", "cn=Bob,ou=Sales,o=Marrowby"},
    {"Dee.Sales.Marrowby", "cn=Dee,ou=Sales,o=Marrowby"},
    {"East.Sales.Marrowby", "ou=East,ou=Sales,o=Marrowby"},
    {"Cid.East.Sales.Marrowby", "cn=Cid,ou=East,ou=Sales,o=Marrowby"},
};
const char *const kEndings[] = {".ldif.gz", ".ldif.zst", ".ldif.xz"};

// Night 1000: the seed. 2000: Ann's sn changed, Bob gone, Dee come. 3000: East with Cid gone.
// Live after that: Cid's description changed back in a restored East, as the run below does.
class CatalogueIndexServerTest : public DirectoryFixture
{
  protected:
    CatalogueIndexServerTest() : DirectoryFixture(MarrowbySeed() + "\n" + kMore) {}

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        dumps.push_back(slapd.Slapcat());
        ASSERT_TRUE(slapd.Modify("dn: cn=Ann,ou=Sales,o=Marrowby\nchangetype: modify\n"
                                 "replace: sn\nsn: Smythe\n"));
        ASSERT_TRUE(slapd.Delete("cn=Bob,ou=Sales,o=Marrowby"));
        ASSERT_TRUE(slapd.Modify("dn: cn=Dee,ou=Sales,o=Marrowby\nchangetype: add\n"
                                 "objectClass: person\ncn: Dee\nsn: Dow\n"));
        dumps.push_back(slapd.Slapcat());
        ASSERT_TRUE(slapd.Delete("ou=East,ou=Sales,o=Marrowby", true));
        dumps.push_back(slapd.Slapcat());
        for (std::size_t night = 0; night < dumps.size(); ++night) {
            const std::string time = std::to_string(1000 * (night + 1));
            slapd.WriteSnapshot(1000 * (static_cast<unsigned>(night) + 1), dumps[night]);
            compressed.WriteCompressed(time + kEndings[night], dumps[night]);
        }
    }

    LdapSettings CompressedSettings() const
    {
        LdapSettings settings = Settings();
        settings.catalogue = compressed.Dumps();
        settings.indexFolder = compressed.IndexFolder();
        return settings;
    }

    // Every answer the tree and its dialogs could get, one line each.
    std::vector<std::string> Answers()
    {
        std::vector<std::string> lines;
        for (const auto &[name, dn] : kObjects) {
            for (const Listed &child : List(name)) {
                std::ostringstream line;
                line << "list " << name << ": " << child;
                lines.push_back(line.str());
            }
            std::vector<BackupTime> times = History(name);
            std::string history = "history " + name + ":";
            for (BackupTime time : times) {
                history += " " + std::to_string(time);
                ServerClient client(*server);
                const DescribedObject described = client.Describe(name, time);
                std::string text = "describe " + name + " at " + std::to_string(time) + ":";
                for (const DescribedAttribute &attribute : described.description.backup) {
                    for (const std::string &value : attribute.values) {
                        text += " " + attribute.name + "=" + value;
                    }
                }
                lines.push_back(text + (described.description.live ? " (live)" : ""));
            }
            lines.push_back(history);
        }
        ServerClient client(*server);
        std::vector<std::string> found;
        client.Search("Marrowby", "*", false, [&](FoundObject &&object) {
            found.push_back("found " + object.fullName + (object.present ? "" : " (deleted)"));
        });
        std::sort(found.begin(), found.end());
        lines.insert(lines.end(), found.begin(), found.end());
        return lines;
    }

    // The times of the dumps that hold the entry, newest first, read from the dumps themselves.
    std::vector<BackupTime> TimesInDumps(const std::string &dn) const
    {
        const std::string canonical = DistinguishedName::Parse(dn)->Canonical();
        std::vector<BackupTime> times;
        for (std::size_t night = dumps.size(); night-- > 0;) {
            LdifReader reader(dumps[night]);
            LdifEntry entry;
            while (reader.Next(entry) == LdifReader::Step::Entry) {
                if (DistinguishedName::Parse(entry.dn)->Canonical() == canonical) {
                    times.push_back(1000 * (static_cast<BackupTime>(night) + 1));
                }
            }
        }
        return times;
    }

    std::vector<std::string> dumps;
    CatalogueFolder compressed;
};

TEST_F(CatalogueIndexServerTest, IndexJustBuiltReadBackAndFromCompressedDumpsAnswerAlike)
{
    OpenAndLogIn();
    EXPECT_EQ(ldap->Catalogue().LastUpdate().read.size(), 3u);
    const std::vector<std::string> built = Answers();
    for (const auto &[name, dn] : kObjects) {
        std::vector<BackupTime> times = History(name);
        std::sort(times.rbegin(), times.rend());
        EXPECT_EQ(times, TimesInDumps(dn)) << name;
    }
    EXPECT_THAT(built, testing::Contains("found Bob.Sales.Marrowby (deleted)"));
    EXPECT_THAT(built, testing::Contains(HasSubstr("describe Ann.Sales.Marrowby at 1000: "
                                                   "objectClass=person cn=Ann sn=Smith")));

    OpenAndLogIn(); // again: from the index alone
    EXPECT_THAT(ldap->Catalogue().LastUpdate().read, IsEmpty());
    EXPECT_EQ(Answers(), built);

    ASSERT_EQ(Open(CompressedSettings()), 0) << Log();
    ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    EXPECT_EQ(ldap->Catalogue().LastUpdate().read.size(), 3u);
    EXPECT_THAT(ldap->Catalogue().LeftOutFiles(), IsEmpty());
    EXPECT_EQ(Answers(), built);
}

// A restore takes the entry out of a compressed dump: checked in the directory itself.
TEST_F(CatalogueIndexServerTest, RestoresASubtreeFromCompressedDumps)
{
    ASSERT_EQ(Open(CompressedSettings()), 0) << Log();
    ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    const Restored restored = Restore("East.Sales.Marrowby", 2000, true);
    ASSERT_EQ(restored.status, 0) << restored.message << Log();
    const std::string cid = slapd.Search("cn=Cid,ou=East,ou=Sales,o=Marrowby", "base");
    EXPECT_THAT(cid, HasSubstr("description: first"));
    EXPECT_THAT(cid, HasSubstr("sn: Brown"));
    EXPECT_TRUE(slapd.Exists("ou=East,ou=Sales,o=Marrowby"));
    const Restored bob = Restore("Bob.Sales.Marrowby", 1000);
    ASSERT_EQ(bob.status, 0) << bob.message;
    EXPECT_THAT(slapd.Search("cn=Bob,ou=Sales,o=Marrowby", "base"), HasSubstr("sn: Jones"));
}

TEST_F(CatalogueIndexServerTest, FollowsTheFolderAsDumpsComeGoAreCutAndTheIndexIsDamaged)
{
    OpenAndLogIn();
    ASSERT_THAT(History("Dee.Sales.Marrowby"), UnorderedElementsAre(3000u, 2000u));

    slapd.WriteSnapshot(4000, slapd.Slapcat());                // a new night
    std::filesystem::remove(slapd.Catalogue() + "/1000.ldif"); // the oldest one goes
    OpenAndLogIn();
    EXPECT_EQ(ldap->Catalogue().LastUpdate().read.size(), 1u);
    EXPECT_THAT(ldap->Catalogue().LastUpdate().removed, ElementsAre("1000.ldif"));
    EXPECT_THAT(History("Dee.Sales.Marrowby"), UnorderedElementsAre(4000u, 3000u, 2000u));
    EXPECT_THAT(History("Bob.Sales.Marrowby"), IsEmpty());
    EXPECT_THAT(List("Sales.Marrowby"),
                ElementsAre(Listed{"Ann", false, true}, Listed{"Dee", false, true},
                            Listed{"East", true, false}));

    const std::string cut = slapd.Slapcat();
    slapd.WriteSnapshot(5000, cut.substr(0, cut.size() - 10));
    OpenAndLogIn();
    EXPECT_THAT(ldap->TakeNotices(), ElementsAre(HasSubstr("5000.ldif left out")));
    EXPECT_THAT(History("Dee.Sales.Marrowby"), UnorderedElementsAre(4000u, 3000u, 2000u));

    server.reset();
    for (const auto &file : std::filesystem::directory_iterator(slapd.Folder() + "/index")) {
        std::ofstream(file.path(), std::ios::binary | std::ios::trunc) << "garbage";
    }
    OpenAndLogIn();
    EXPECT_EQ(ldap->Catalogue().LastUpdate().read.size(), 4u); // 5000 is read, and left out
    EXPECT_THAT(History("Dee.Sales.Marrowby"), UnorderedElementsAre(4000u, 3000u, 2000u));
    EXPECT_THAT(History("Cid.East.Sales.Marrowby"), UnorderedElementsAre(2000u));
}
} // namespace
