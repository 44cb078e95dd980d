// Reading a directory server's section through the profile chain.
#include <gtest/gtest.h>

#include <fstream>

#include "mwlib/MW_Application.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "startup/DirectorySettings.h"
#include "startup/RestoreProfile.h"
#include "tests/mwlib/TempDir.h"

namespace
{
// A program folder with the given profiles; "@DIR@" stands for the folder.
class Profiles
{
  public:
    explicit Profiles(const std::vector<std::pair<std::string, std::string>> &files)
        : hooks(MW_String("TARVIK"), MW_String(Path("tarvik").c_str()))
    {
        for (auto [name, text] : files) {
            for (size_t at; (at = text.find("@DIR@")) != std::string::npos;) {
                text.replace(at, 5, Folder());
            }
            std::ofstream(Path(name)) << text;
        }
        profile = std::make_unique<RestoreProfile>(&hooks, section, key, names);
    }
    // The server names read into the list are the reader's consumer's to destroy.
    ~Profiles()
    {
        uint32_t iterator = MW_Cache::NewPass;
        do {
            CacheEntryResult_T *entry = nullptr;
            names.GetNext(&iterator, &entry);
            if (!entry) {
                break;
            }
            delete static_cast<MW_ProfileListValue *>(entry->Data)->value.text;
            names.FreeResult(&entry);
        } while (iterator != MW_Cache::NewPass);
    }
    std::string Folder() const
    {
        const std::string folder = dir.Path("");
        return folder.substr(0, folder.find_last_not_of('/') + 1);
    }
    std::string Path(const std::string &name) const { return Folder() + "/" + name; }
    std::optional<LdapSettings> Read(const std::string &server)
    {
        return DirectorySettings::Read(*profile, server, Folder());
    }

    TempDir dir;
    MW_Application hooks;
    MW_String section{"SERVER"};
    MW_String key{"BackupServer"};
    MW_Cache names;
    std::unique_ptr<RestoreProfile> profile;
};

const std::string kServers = "[SERVER]\nBackupServer=DIR1\n\n";

TEST(DirectorySettings, SectionWithDirectoryKeysGivesItsSettings)
{
    Profiles p({{"TARVIK.INI", kServers + "[dir1]\nUri = ldap://127.0.0.1:389\nBase=o=Marrowby\n"
                                          "Catalogue=snapshots\nBindDn=cn=restore,o=Marrowby\n"
                                          "PasswordFile=/etc/tarvik/pw\nTimeout=30\n"
                                          "ContainerClasses=organization, groupOfNames ,,\n"}});
    const std::optional<LdapSettings> settings = p.Read("DIR1");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->serverName, "DIR1");
    EXPECT_EQ(settings->uri, "ldap://127.0.0.1:389");
    EXPECT_EQ(settings->base, "o=Marrowby");
    EXPECT_EQ(settings->catalogue, p.Path("snapshots"));
    EXPECT_EQ(settings->bindDn, "cn=restore,o=Marrowby");
    EXPECT_EQ(settings->passwordFile, "/etc/tarvik/pw");
    EXPECT_EQ(settings->saslMechanism, "");
    EXPECT_EQ(settings->timeoutSeconds, 30);
    EXPECT_EQ(settings->containerClasses,
              (std::vector<std::string>{"organization", "groupOfNames"}));
}

TEST(DirectorySettings, ADomainControllersSectionGivesItsKindAndTls)
{
    Profiles p({{"TARVIK.INI", kServers + "[DIR1]\nKind=ActiveDirectory\n"
                                          "Uri=ldap://dc1.marrowby.test\nStartTls=yes\n"
                                          "Base=DC=marrowby,DC=test\nCaFile=certs/ca.pem\n"
                                          "BindDn=restore@marrowby.test\nPasswordFile=pw\n"}});
    const std::optional<LdapSettings> settings = p.Read("DIR1");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->kind, "ActiveDirectory");
    EXPECT_TRUE(settings->startTls);
    EXPECT_EQ(settings->caFile, p.Path("certs/ca.pem"));
    EXPECT_EQ(settings->passwordFile, p.Path("pw"));
    EXPECT_EQ(settings->catalogue, "") << "a domain controller needs no catalogue";
}

TEST(DirectorySettings, StartTlsAndAllowPlainBindAreOnOnlyWhenSaidSo)
{
    const struct {
        const char *value;
        bool on;
    } cases[] = {{"yes", true}, {"TRUE", true}, {"1", true},     {"no", false},
                 {"0", false},  {"", false},    {"maybe", false}};
    for (const auto &c : cases) {
        Profiles p({{"TARVIK.INI", kServers + "[DIR1]\nStartTls=" + c.value +
                                       "\nAllowPlainBind=" + c.value + "\n"}});
        const std::optional<LdapSettings> settings = p.Read("DIR1");
        ASSERT_TRUE(settings) << c.value;
        EXPECT_EQ(settings->startTls, c.on) << c.value;
        EXPECT_EQ(settings->allowPlainBind, c.on) << c.value;
    }
    Profiles unsaid({{"TARVIK.INI", kServers + "[DIR1]\nUri=ldap://127.0.0.1\n"}});
    ASSERT_TRUE(unsaid.Read("DIR1"));
    EXPECT_FALSE(unsaid.Read("DIR1")->allowPlainBind);
}

TEST(DirectorySettings, NamesWithoutDirectoryKeysStaySimulated)
{
    Profiles p({{"TARVIK.INI", kServers + "[FS1]\nOther=1\n"}});
    EXPECT_FALSE(p.Read("FS1"));
    EXPECT_FALSE(p.Read("FS2"));
    Profiles none({});
    EXPECT_FALSE(none.Read("DIR1"));
}

TEST(DirectorySettings, TimeoutOutOfRangeIsKeptForTheServerToRefuse)
{
    Profiles p({{"TARVIK.INI", kServers + "[DIR1]\nTimeout=0\n"}});
    ASSERT_TRUE(p.Read("DIR1"));
    EXPECT_EQ(p.Read("DIR1")->timeoutSeconds, 0);
}

TEST(DirectorySettings, LocalProfileOverridesUnlessTheGlobalOneEnforces)
{
    Profiles p({{"TARVIK.INI", "[GLOBALINI]\nName=@DIR@/global.ini\n"},
                {"global.ini", "[LOCALINI]\nName=@DIR@/local.ini\n" + kServers +
                                   "[DIR1]\nEnforceUri=ldapi://%2Frun%2Fldapi\nBase=o=Global\n"},
                {"local.ini", kServers + "[DIR1]\nUri=ldap://elsewhere\nBase=o=Local\n"}});
    const std::optional<LdapSettings> settings = p.Read("DIR1");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->uri, "ldapi://%2Frun%2Fldapi");
    EXPECT_EQ(settings->base, "o=Local");
}
} // namespace
