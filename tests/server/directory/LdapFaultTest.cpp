// The directory backup server when its server goes away: closed sockets (a stopped server, its
// idle timeout), a server that is down or frozen while the connection is made again, and binds
// that no longer work. The identity the program logged in with is kept through all of it.
#include <gmock/gmock.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "server/ServerLogin.h"
#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::HasSubstr;
using testing::IsEmpty;

constexpr const char *kBob = "cn=Bob,ou=Sales,o=Marrowby";

class DirectoryFaultTest : public DirectoryFixture
{
  protected:
    explicit DirectoryFaultTest(std::string extraConfig = "")
        : DirectoryFixture(MarrowbySeed(), std::move(extraConfig))
    {
    }

    void SetUp() override
    {
        DirectoryFixture::SetUp();
        slapd.WriteSnapshot(1000, slapd.Slapcat());
    }

    // The manager's DN with its password in a file, over TCP.
    LdapSettings ConfiguredPassword(const std::string &password = SlapdServer::RootPassword)
    {
        LdapSettings settings = Settings();
        settings.uri = slapd.Uri();
        settings.allowPlainBind = true;
        settings.saslMechanism.clear();
        settings.bindDn = SlapdServer::RootDn;
        settings.passwordFile = slapd.WriteFile("password", password + "\n");
        return settings;
    }

    // Bob deleted behind the program's back: only a bound manager may put him back (an
    // anonymous add is refused).
    void DeleteBob() { ASSERT_TRUE(slapd.Delete(kBob)); }
};

// Over the socket, a closed connection makes the next write fail; it must be an error the
// backend handles, not a signal that ends the program.
TEST_F(DirectoryFaultTest, ServerStoppedAndStartedAgainOverTheSocketIsReconnected)
{
    OpenAndLogIn();
    ASSERT_EQ(List("Sales.Marrowby").size(), 2u) << Log();
    DeleteBob();
    ASSERT_TRUE(slapd.Restart()) << slapd.Failure();
    EXPECT_EQ(List("Sales.Marrowby"),
              (std::vector<Listed>{{"Ann", false, true}, {"Bob", false, false}}))
        << Log();
    const Restored restored = Restore("Bob.Sales.Marrowby");
    EXPECT_EQ(restored.status, 0) << restored.message;
    EXPECT_TRUE(slapd.Exists(kBob));
}

class DirectoryIdleTimeoutTest : public DirectoryFaultTest
{
  protected:
    DirectoryIdleTimeoutTest() : DirectoryFaultTest("idletimeout 1\n") {}
};

TEST_F(DirectoryIdleTimeoutTest, ConnectionClosedByTheServersIdleTimeoutIsMadeAgain)
{
    OpenAndLogIn();
    ASSERT_EQ(List("Sales.Marrowby").size(), 2u) << Log();
    DeleteBob();
    // slapd looks for idle connections every few seconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(6500));
    EXPECT_EQ(List("Sales.Marrowby").size(), 2u) << Log();
    const Restored restored = Restore("Bob.Sales.Marrowby");
    EXPECT_EQ(restored.status, 0) << restored.message;
}

// How the program logged in.
struct Identity {
    enum Way { ConfiguredPassword, SaslExternal, UsersLogin } way;
    const char *what;
};

// What goes wrong while the program keeps asking.
struct Fault {
    const char *what;
    std::function<void(SlapdServer &)> begin;
    std::function<void(SlapdServer &)> end;
};

class DirectoryIdentityTest : public DirectoryFaultTest
{
  protected:
    LdapSettings SettingsFor(Identity::Way way)
    {
        LdapSettings settings =
            way == Identity::ConfiguredPassword ? ConfiguredPassword() : Settings();
        if (way == Identity::UsersLogin) {
            settings.uri = slapd.Uri();
            settings.allowPlainBind = true;
            settings.saslMechanism.clear();
        }
        settings.timeoutSeconds = 1;
        return settings;
    }

    void LogIn(Identity::Way way)
    {
        ASSERT_EQ(Open(SettingsFor(way)), 0) << Log();
        ServerLogin login(*server);
        if (way != Identity::UsersLogin) {
            ASSERT_EQ(login.LoginCurrent(), 0) << Log();
        } else {
            ASSERT_NE(login.LoginCurrent(), 0);
            ASSERT_EQ(login.Login("admin.Marrowby", SlapdServer::RootPassword), 0) << Log();
        }
    }
};

TEST_F(DirectoryIdentityTest, ReconnectAfterAServerDownOrFrozenKeepsTheIdentityLoggedInWith)
{
    const Identity identities[] = {
        {Identity::ConfiguredPassword, "configured DN and password"},
        {Identity::SaslExternal, "SASL EXTERNAL over the socket"},
        {Identity::UsersLogin, "the user's own login"},
    };
    const Fault faults[] = {
        {"down", [](SlapdServer &s) { s.Stop(); }, [](SlapdServer &s) { s.Restart(); }},
        {"frozen", [](SlapdServer &s) { s.Freeze(); }, [](SlapdServer &s) { s.Thaw(); }},
    };
    for (const Identity &identity : identities) {
        for (const Fault &fault : faults) {
            SCOPED_TRACE(std::string(identity.what) + ", server " + fault.what);
            log.clear();
            if (!slapd.Exists(kBob)) {
                ASSERT_TRUE(slapd.Modify("dn: cn=Bob,ou=Sales,o=Marrowby\nchangetype: add\n"
                                         "objectClass: person\ncn: Bob\nsn: Jones\n"));
            }
            LogIn(identity.way);
            ASSERT_EQ(List("Sales.Marrowby").size(), 2u) << Log();
            DeleteBob();
            fault.begin(slapd);
            // The first request finds the connection lost; the second tries to make it again.
            EXPECT_THAT(List("Sales.Marrowby"), IsEmpty());
            const Restored during = Restore("Bob.Sales.Marrowby");
            EXPECT_NE(during.status, 0);
            EXPECT_THAT(during.message, HasSubstr("cannot log in again as"));
            fault.end(slapd);
            ASSERT_TRUE(slapd.Running()) << slapd.Failure();
            const Restored after = Restore("Bob.Sales.Marrowby");
            EXPECT_EQ(after.status, 0) << after.message << "\n" << Log();
            EXPECT_TRUE(slapd.Exists(kBob));
        }
    }
}

TEST_F(DirectoryFaultTest, BindThatNoLongerWorksFailsEveryRequestWithItsReason)
{
    LdapSettings settings = ConfiguredPassword();
    settings.timeoutSeconds = 1;
    ASSERT_EQ(Open(settings), 0) << Log();
    ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    ASSERT_EQ(List("Sales.Marrowby").size(), 2u);
    DeleteBob();
    slapd.Stop();
    EXPECT_THAT(List("Sales.Marrowby"), IsEmpty());
    slapd.WriteFile("password", "not the password\n");
    ASSERT_TRUE(slapd.Restart()) << slapd.Failure();

    // Anyone may read this directory: a listing that worked now would be anonymous.
    EXPECT_THAT(List("Sales.Marrowby"), IsEmpty());
    EXPECT_THAT(server->LastFailure(), HasSubstr("Invalid credentials"));
    EXPECT_THAT(server->TakeListingNote(), IsEmpty()) << "a failure is not a cut listing";
    const Restored refused = Restore("Bob.Sales.Marrowby");
    EXPECT_NE(refused.status, 0);
    EXPECT_THAT(refused.message, HasSubstr("cannot log in again as cn=admin,o=Marrowby"));
    EXPECT_THAT(refused.message, HasSubstr("Invalid credentials"));
    EXPECT_FALSE(slapd.Exists(kBob));

    slapd.WriteFile("password", std::string(SlapdServer::RootPassword) + "\n");
    EXPECT_EQ(Restore("Bob.Sales.Marrowby").status, 0) << Log();
    EXPECT_TRUE(slapd.Exists(kBob));
}
} // namespace
