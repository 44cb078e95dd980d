// Opening the directory backup server and logging in: the configured binds, a user's bind,
// refusals, unreachable and stuck servers, and settings that cannot work.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "server/ServerLogin.h"
#include "tests/server/directory/DirectoryFixture.h"
#include "tests/support/core/SilentListener.h"

namespace
{
using testing::HasSubstr;
using testing::Not;

const std::string kReader = "\ndn: cn=reader,o=Marrowby\nobjectClass: person\n"
                            "objectClass: simpleSecurityObject\ncn: reader\nsn: Reader\n"
                            "userPassword: r3ad.me\n";

class DirectoryOpenTest : public DirectoryFixture
{
  protected:
    DirectoryOpenTest() : DirectoryFixture(MarrowbySeed() + kReader) {}

    LdapSettings WithPassword(const std::string &dn, const std::string &password, int mode = 0600)
    {
        LdapSettings settings = Settings();
        settings.uri = slapd.Uri();
        settings.allowPlainBind = true; // a loopback address
        settings.saslMechanism.clear();
        settings.bindDn = dn;
        settings.passwordFile = slapd.WriteFile("password", password + "\n");
        ::chmod(settings.passwordFile.c_str(), static_cast<mode_t>(mode));
        return settings;
    }

    // The record the main window reads after login.
    LoginRecord LoggedIn()
    {
        ServerLogin login(*server);
        EXPECT_EQ(login.LoginCurrent(), 0) << Log();
        return login.Record();
    }
};

TEST_F(DirectoryOpenTest, SaslExternalOverTheSocketLogsInAndRootsTheTreeAtTheBase)
{
    ASSERT_EQ(Open(Settings()), 0) << Log();
    const LoginRecord record = LoggedIn();
    EXPECT_STREQ(record.context, "Marrowby");
    EXPECT_STREQ(record.userName, "admin.Marrowby");
}

TEST_F(DirectoryOpenTest, BindDnWithPasswordFileLogsIn)
{
    ASSERT_EQ(Open(WithPassword("cn=reader,o=Marrowby", "r3ad.me")), 0) << Log();
    const LoginRecord record = LoggedIn();
    EXPECT_STREQ(record.userName, "reader.Marrowby");
    EXPECT_STREQ(record.context, "Marrowby");
}

TEST_F(DirectoryOpenTest, PasswordFileOthersThanItsOwnerCanReachIsRefused)
{
    ASSERT_EQ(Open(WithPassword("cn=reader,o=Marrowby", "r3ad.me", 0640)), 0) << Log();
    EXPECT_NE(ldap->LoginCurrent(LoginRecord{}), 0);
    EXPECT_THAT(Log(), HasSubstr("has mode 0640"));
    EXPECT_THAT(server->RefusalReason(), HasSubstr("for its owner alone (mode 600 or 400)"));
    EXPECT_THAT(Log(), Not(HasSubstr("r3ad.me")));
}

TEST_F(DirectoryOpenTest, RefusedBindsAskTheUserAndNeverShowThePassword)
{
    ASSERT_EQ(Open(WithPassword("cn=reader,o=Marrowby", "wrong")), 0) << Log();
    ServerLogin login(*server);
    EXPECT_NE(login.LoginCurrent(), 0);
    EXPECT_THAT(server->RefusalReason(), HasSubstr("The configured bind failed"));
    EXPECT_THAT(server->RefusalReason(), HasSubstr("Invalid credentials"));
    EXPECT_NE(login.Login("reader.Marrowby", "not.it"), 0);
    EXPECT_THAT(server->RefusalReason(), HasSubstr("Invalid credentials"));
    EXPECT_NE(login.Login("reader.Marrowby", ""), 0); // would be an anonymous bind
    EXPECT_NE(login.Login("nobody.Marrowby", "r3ad.me"), 0);
    EXPECT_STREQ(login.UserName(), ServerLogin::DefaultUser);
    EXPECT_EQ(login.Login("reader.Marrowby", "r3ad.me"), 0) << Log();
    EXPECT_EQ(server->RefusalReason(), "");
    EXPECT_STREQ(login.UserName(), "reader.Marrowby");
    EXPECT_EQ(login.Login("cn=reader,o=Marrowby", "r3ad.me"), 0) << Log();
    for (const char *password : {"wrong", "not.it", "r3ad.me"}) {
        EXPECT_THAT(Log(), Not(HasSubstr(password)));
        EXPECT_THAT(server->RefusalReason(), Not(HasSubstr(password)));
    }
    EXPECT_THAT(Log(), HasSubstr("Invalid credentials"));
}

// A server that hands out one entry per search to anyone but its manager.
class DirectorySizeLimitTest : public DirectoryFixture
{
  protected:
    DirectorySizeLimitTest() : DirectoryFixture(MarrowbySeed() + kReader, "sizelimit 1\n") {}
};

TEST_F(DirectorySizeLimitTest, ListingCutByTheServerStillTellsLiveFromDeleted)
{
    ASSERT_TRUE(slapd.Modify("dn: cn=Cid,ou=Sales,o=Marrowby\nchangetype: add\n"
                             "objectClass: person\ncn: Cid\nsn: Brown\n"));
    slapd.WriteSnapshot(1000, slapd.Slapcat());
    ASSERT_TRUE(slapd.Delete("cn=Cid,ou=Sales,o=Marrowby"));
    LdapSettings settings = Settings();
    settings.saslMechanism.clear();
    ASSERT_EQ(Open(settings), 0) << Log();
    EXPECT_NE(ldap->LoginCurrent(LoginRecord{}), 0);
    EXPECT_EQ(ldap->Login("reader.Marrowby", "r3ad.me"), 0) << Log();
    EXPECT_EQ(
        List("Sales.Marrowby"),
        (std::vector<Listed>{{"Ann", false, true}, {"Bob", false, true}, {"Cid", false, false}}));
}

TEST_F(DirectoryOpenTest, MissingBaseFailsToOpen)
{
    LdapSettings settings = Settings();
    settings.base = "o=Elsewhere";
    EXPECT_NE(Open(settings), 0);
    EXPECT_THAT(Log(), HasSubstr("LDAP1"));
    EXPECT_THAT(Log(), HasSubstr("o=Elsewhere"));
}

TEST_F(DirectoryOpenTest, SettingsThatCannotWorkFailToOpenAndSayWhy)
{
    struct Case {
        const char *what;
        void (*change)(LdapSettings &);
        const char *said;
    };
    const Case cases[] = {
        {"no scheme", [](LdapSettings &s) { s.uri = "127.0.0.1"; }, "Uri"},
        {"base not a DN", [](LdapSettings &s) { s.base = "Marrowby"; }, "Base"},
        {"no catalogue", [](LdapSettings &s) { s.catalogue.clear(); }, "Catalogue"},
        {"missing catalogue", [](LdapSettings &s) { s.catalogue = "/nonexistent/catalogue"; },
         "/nonexistent/catalogue"},
        {"two binds",
         [](LdapSettings &s) {
             s.bindDn = "cn=admin,o=Marrowby";
             s.passwordFile = "/dev/null";
         },
         "not both"},
        {"other mechanism", [](LdapSettings &s) { s.saslMechanism = "GSSAPI"; }, "GSSAPI"},
        {"no timeout", [](LdapSettings &s) { s.timeoutSeconds = 0; }, "Timeout"},
        {"bind without password",
         [](LdapSettings &s) {
             s.saslMechanism.clear();
             s.bindDn = "cn=admin,o=Marrowby";
         },
         "PasswordFile"},
    };
    for (const Case &c : cases) {
        log.clear();
        LdapSettings settings = Settings();
        c.change(settings);
        EXPECT_NE(Open(settings), 0) << c.what;
        EXPECT_THAT(Log(), HasSubstr(c.said)) << c.what;
        EXPECT_THAT(server->RefusalReason(), HasSubstr(c.said)) << c.what;
    }
}

TEST_F(DirectoryOpenTest, UnreachableServerIsAnErrorNotAWait)
{
    LdapSettings settings = Settings();
    settings.saslMechanism.clear();
    slapd.Stop();
    EXPECT_NE(Open(settings), 0);
    EXPECT_THAT(Log(), HasSubstr("Can't contact LDAP server"));
    EXPECT_THAT(server->RefusalReason(), HasSubstr("Can't contact LDAP server"));
    EXPECT_THAT(server->RefusalReason(), HasSubstr(settings.uri));
}

TEST_F(DirectoryOpenTest, ServerThatNeverAnswersTimesOut)
{
    const SilentListener listener;
    ASSERT_TRUE(listener.Listening());
    LdapSettings settings = WithPassword("cn=reader,o=Marrowby", "r3ad.me");
    settings.uri = listener.Uri();
    settings.timeoutSeconds = 1;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(Open(settings), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_THAT(Log(), HasSubstr("Timed out"));
    EXPECT_THAT(server->RefusalReason(), HasSubstr("Timed out"));
}

TEST_F(DirectoryOpenTest, LostConnectionIsMadeAgainWithTheSameIdentity)
{
    ASSERT_EQ(Open(WithPassword("cn=reader,o=Marrowby", "r3ad.me")), 0) << Log();
    ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0);
    ASSERT_TRUE(slapd.Restart()) << slapd.Failure();
    EXPECT_EQ(List("Sales.Marrowby").size(), 2u) << Log();
}
} // namespace
