// Opening a domain controller's backup server and logging in: only over TLS with a certificate
// the settings trust, with the configured identity or the user's, and through a controller
// that goes away and comes back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/RecordFields.h"
#include "server/directory/DomainRestore.h"
#include "tests/server/directory/DomainFixture.h"

using testing::HasSubstr;

namespace
{
class DomainOpenTest : public DomainFixture
{
  protected:
    LoginRecord LoggedIn()
    {
        LoginRecord record{};
        server->Backend().UpdateLogin(record);
        return record;
    }
};

TEST_F(DomainOpenTest, TheConfiguredIdentityBindsOverLdapsAndTheDomainIsTheTopContext)
{
    OpenAndLogIn();
    const LoginRecord record = LoggedIn();
    EXPECT_EQ(FieldText(record.context), Top);
    EXPECT_EQ(FieldText(record.userName), "Administrator.Users.marrowby.test");
    EXPECT_FALSE(List(Sales).empty());
}

TEST_F(DomainOpenTest, StartTlsSecuresAPlainLdapConnection)
{
    LdapSettings settings = Settings();
    settings.uri = "ldap://" + dc.Address();
    settings.startTls = true;
    ASSERT_EQ(Open(settings), 0) << Log();
    EXPECT_EQ(domain->LoginCurrent(LoginRecord{}), 0) << Log();
    EXPECT_FALSE(List(Sales).empty());
}

TEST_F(DomainOpenTest, NoPasswordGoesOutWithoutTls)
{
    LdapSettings settings = Settings();
    settings.uri = "ldap://" + dc.Address();
    EXPECT_NE(Open(settings), 0);
    EXPECT_THAT(Log(), HasSubstr("only over TLS"));
    // Said on screen too, below the program's own text.
    EXPECT_THAT(domain->RefusalReason(),
                testing::StartsWith("The settings of DC1: a domain controller takes passwords "
                                    "only over TLS"));
}

TEST_F(DomainOpenTest, ACertificateTheSettingsDoNotTrustRefusesTheConnection)
{
    LdapSettings settings = Settings();
    settings.caFile = dc.Folder() + "/tls/other-ca.pem";
    EXPECT_NE(Open(settings), 0);
    EXPECT_THAT(Log(), HasSubstr("certificate"));
    EXPECT_THAT(domain->RefusalReason(), HasSubstr("certificate must be signed by an authority"));
    // The same with StartTLS: the upgrade fails and nothing is sent in the clear.
    log.clear();
    settings.uri = "ldap://" + dc.Address();
    settings.startTls = true;
    EXPECT_NE(Open(settings), 0);
    EXPECT_THAT(Log(), HasSubstr("StartTLS failed"));
}

TEST_F(DomainOpenTest, AWrongConfiguredPasswordLeavesTheLoginToTheUser)
{
    LdapSettings settings = Settings();
    settings.passwordFile = dc.WriteFile("wrong.password", "not-the-password\n");
    ASSERT_EQ(Open(settings), 0) << Log();
    EXPECT_NE(domain->LoginCurrent(LoginRecord{}), 0);
    EXPECT_THAT(Log(), HasSubstr("Invalid credentials"));

    // The user's own login: refused with a wrong password, then as a principal name.
    EXPECT_NE(server->Backend().Login("Administrator@marrowby.test", "wrong"), 0);
    ASSERT_EQ(
        server->Backend().Login("Administrator@marrowby.test", DomainController::AdminPassword), 0)
        << Log();
    EXPECT_EQ(FieldText(LoggedIn().userName), "Administrator@marrowby.test");
    EXPECT_FALSE(List(Sales).empty());
}

// A name of the tree is looked up by listing the tree, which the controller refuses anyone not
// logged in: the login says so, with the controller's words, and which names need no lookup.
TEST_F(DomainOpenTest, ALoginByTreeNameThatCannotBeLookedUpSaysTheControllersReason)
{
    LdapSettings settings = Settings();
    settings.bindDn.clear();
    settings.passwordFile.clear();
    ASSERT_EQ(Open(settings), 0) << Log();
    EXPECT_NE(server->Backend().Login("Administrator.Users.marrowby.test",
                                      DomainController::AdminPassword),
              0);
    const std::string reason = domain->RefusalReason();
    EXPECT_THAT(reason, HasSubstr("Operation unavailable without authentication"));
    EXPECT_THAT(reason, HasSubstr("a principal name (name@marrowby.test)"));
    EXPECT_THAT(reason, testing::Not(HasSubstr("no object")));
    EXPECT_THAT(reason, testing::Not(HasSubstr(DomainController::AdminPassword)));

    ASSERT_EQ(
        server->Backend().Login("Administrator@marrowby.test", DomainController::AdminPassword), 0)
        << Log();
    // Logged in, the tree's names are found.
    EXPECT_EQ(server->Backend().Login("Administrator.Users.marrowby.test",
                                      DomainController::AdminPassword),
              0)
        << domain->RefusalReason();
}

TEST_F(DomainOpenTest, AControllerThatStopsMidRunFailsTheRestWithItsReasonAndIsUsedAgainLater)
{
    ASSERT_TRUE(dc.Delete(AnnDn));
    ASSERT_TRUE(dc.Delete(BobDn));
    OpenAndLogIn();
    List(Sales);
    List(North);
    EXPECT_EQ(Restore(Ann).status, DomainRestore::PartlyRestored);

    dc.Stop();
    const Restored lost = Restore(Bob);
    EXPECT_NE(lost.status, 0);
    EXPECT_NE(lost.status, DomainRestore::PartlyRestored);
    EXPECT_THAT(lost.message, HasSubstr(dc.Address()));

    ASSERT_TRUE(dc.Restart()) << dc.Failure();
    const Restored again = Restore(Bob);
    EXPECT_EQ(again.status, DomainRestore::PartlyRestored) << again.message;
    EXPECT_TRUE(dc.Exists(BobDn));
}
} // namespace
