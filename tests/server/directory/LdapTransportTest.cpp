// A password goes to the directory only where no one on the way can read it: over TLS (ldaps://
// or StartTLS) or the local socket, or in the clear to a loopback address when the section allows
// it. Anything else is refused before a thing is sent, and the refusal says what to change.
#include <gmock/gmock.h>

#include "server/ServerLogin.h"
#include "server/directory/PasswordTransport.h"
#include "tests/server/directory/DirectoryFixture.h"
#include "tests/support/core/SilentListener.h"

namespace
{
using testing::HasSubstr;
using testing::Not;

TEST(PasswordTransport, OnlyTlsTheSocketOrAnAllowedLoopbackCarriesAPassword)
{
    const struct {
        const char *uri;
        bool startTls;
        bool allowPlainBind;
        const char *caFile;
        const char *refusal; // empty: a password may go
    } cases[] = {
        {"ldaps://dir.marrowby.example", false, false, "", ""},
        {"ldapi://%2Frun%2Fldapi", false, false, "", ""},
        {"ldap://dir.marrowby.example", true, false, "", ""},
        {"ldap://127.0.0.1:389", false, true, "", ""},
        {"ldap://[::1]:389", false, true, "", ""},
        {"ldap://localhost", false, true, "", ""},
        {"ldap://dir.marrowby.example", false, false, "",
         "a password would go to ldap://dir.marrowby.example in the clear: give an ldaps:// Uri, "
         "StartTls=yes, or an ldapi:// Uri"},
        {"ldap://dir.marrowby.example:389", false, false, "/etc/ca.pem",
         "(CaFile alone does not encrypt an ldap:// connection)"},
        {"ldap://127.0.0.1:389", false, false, "", "AllowPlainBind=yes allows it to a loopback"},
        {"ldap://192.0.2.2", false, true, "", "only to a loopback address, and ldap://192.0.2.2"},
        {"ldap://127.0.0.1.example", false, true, "", "is not one"},
        // Every server of a list: libldap may use any of them.
        {"ldaps://dir1.marrowby.example ldap://dir2.marrowby.example", false, false, "",
         "ldap://dir2.marrowby.example in the clear"},
        {"ldaps://dir1.marrowby.example,ldap://127.0.0.1", false, true, "", ""},
        {"", false, false, "", "Uri names no server"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.uri);
        LdapSettings settings;
        settings.uri = c.uri;
        settings.startTls = c.startTls;
        settings.allowPlainBind = c.allowPlainBind;
        settings.caFile = c.caFile;
        const std::string refusal = PasswordTransport::Refusal(settings, true);
        if (*c.refusal == '\0') {
            EXPECT_EQ(refusal, "");
        } else {
            EXPECT_THAT(refusal, HasSubstr(c.refusal));
        }
    }
}

TEST(PasswordTransport, AllowPlainBindCountsOnlyWhereItIsOffered)
{
    LdapSettings settings;
    settings.uri = "ldap://127.0.0.1";
    settings.allowPlainBind = true;
    EXPECT_EQ(PasswordTransport::Refusal(settings, true), "");
    EXPECT_THAT(PasswordTransport::Refusal(settings, false), HasSubstr("in the clear"));
    EXPECT_THAT(PasswordTransport::Refusal(settings, false), Not(HasSubstr("AllowPlainBind")));
}

TEST(PasswordTransport, LoopbackAddressesAreThoseThatNeverLeaveTheMachine)
{
    for (const char *host : {"127.0.0.1", "127.3.2.1", "::1", "::ffff:127.0.0.1", "LocalHost"}) {
        EXPECT_TRUE(PasswordTransport::IsLoopback(host)) << host;
    }
    for (const char *host : {"", "192.0.2.2", "128.0.0.1", "::2", "::ffff:10.0.0.1",
                             "localhost.example", "dir.marrowby.example"}) {
        EXPECT_FALSE(PasswordTransport::IsLoopback(host)) << host;
    }
}

const std::string kReader = "\ndn: cn=reader,o=Marrowby\nobjectClass: person\n"
                            "objectClass: simpleSecurityObject\ncn: reader\nsn: Reader\n"
                            "userPassword: r3ad.me\n";

class LdapTransportTest : public DirectoryFixture
{
  protected:
    LdapTransportTest() : DirectoryFixture(MarrowbySeed() + kReader, "", true) {}

    // The reader's DN with its password in a file, over the Uri.
    LdapSettings Reader(const std::string &uri)
    {
        LdapSettings settings = Settings();
        settings.uri = uri;
        settings.saslMechanism.clear();
        settings.bindDn = "cn=reader,o=Marrowby";
        settings.passwordFile = slapd.WriteFile("password", "r3ad.me\n");
        return settings;
    }

    void ExpectLoggedInAsReader(const LdapSettings &settings)
    {
        ASSERT_EQ(Open(settings), 0) << Log();
        ServerLogin login(*server);
        EXPECT_EQ(login.LoginCurrent(), 0) << Log();
        EXPECT_STREQ(login.UserName(), "reader.Marrowby");
        EXPECT_EQ(List("Sales.Marrowby").size(), 2u) << Log();
    }
};

TEST_F(LdapTransportTest, APasswordGoesOverLdapsAndOverStartTls)
{
    LdapSettings settings = Reader(slapd.TlsUri());
    settings.caFile = slapd.CaFile();
    ExpectLoggedInAsReader(settings);

    settings.uri = slapd.Uri();
    settings.startTls = true;
    ExpectLoggedInAsReader(settings);
}

TEST_F(LdapTransportTest, AStartTlsThatFailsRefusesTheOpen)
{
    LdapSettings settings = Reader(slapd.Uri());
    settings.startTls = true;
    settings.caFile = slapd.OtherCaFile(); // the server cannot prove who it is
    EXPECT_NE(Open(settings), 0);
    EXPECT_THAT(server->RefusalReason(), HasSubstr("StartTLS failed"));
}

TEST_F(LdapTransportTest, APasswordOverPlainLdapIsASettingsRefusalWithNothingSent)
{
    const SilentListener listener;
    ASSERT_TRUE(listener.Listening());
    struct Case {
        const char *what;
        void (*change)(LdapSettings &);
        const char *said;
    };
    const Case cases[] = {
        {"configured bind", [](LdapSettings &) {}, "AllowPlainBind=yes allows it"},
        {"the user's login to come",
         [](LdapSettings &s) {
             s.bindDn.clear();
             s.passwordFile.clear();
         },
         "in the clear"},
        {"a certificate file alone", [](LdapSettings &s) { s.caFile = "/etc/ca.pem"; },
         "CaFile alone does not encrypt"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LdapSettings settings = Reader(listener.Uri());
        c.change(settings);
        EXPECT_EQ(Open(settings), ServerBackend::kRefusedBySettings);
        EXPECT_THAT(server->RefusalReason(), HasSubstr("The settings of LDAP1: "));
        EXPECT_THAT(server->RefusalReason(), HasSubstr(c.said));
        EXPECT_FALSE(listener.Dialled());
    }
    // Allowed in the clear, but only to this machine.
    LdapSettings elsewhere = Reader("ldap://192.0.2.2:389");
    elsewhere.allowPlainBind = true;
    EXPECT_EQ(Open(elsewhere), ServerBackend::kRefusedBySettings);
    EXPECT_THAT(server->RefusalReason(), HasSubstr("only to a loopback address"));
}

TEST_F(LdapTransportTest, AllowPlainBindLetsAPasswordGoToALoopbackAddress)
{
    LdapSettings settings = Reader(slapd.Uri());
    settings.allowPlainBind = true;
    ExpectLoggedInAsReader(settings);
}

// A section that binds without a password may open over plain ldap://, but the user's own
// password still does not go that way.
TEST_F(LdapTransportTest, AUsersLoginOverPlainLdapIsRefusedWithoutSendingThePassword)
{
    LdapSettings settings = Settings();
    settings.uri = slapd.Uri();
    ASSERT_EQ(Open(settings), 0) << Log();
    ServerLogin login(*server);
    EXPECT_NE(login.LoginCurrent(), 0); // EXTERNAL names nobody over TCP
    EXPECT_NE(login.Login("reader.Marrowby", "r3ad.me"), 0);
    EXPECT_THAT(server->RefusalReason(), HasSubstr("in the clear"));
    EXPECT_THAT(server->RefusalReason(), Not(HasSubstr("r3ad.me")));
    EXPECT_STREQ(login.UserName(), ServerLogin::DefaultUser);
}
} // namespace
