// The login record: its default user and context, its bounded fields, and the server's verdict.
#include <gmock/gmock.h>

#include <cstring>
#include <string>

#include "server/ServerLogin.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
TEST(ServerLoginTest, HoldsTheDefaultUserAndContextPaddedWithNuls)
{
    BackupServer server;
    ServerLogin login(server);
    EXPECT_STREQ(login.UserName(), "Admin.Tech_Support.Marrowby");
    EXPECT_STREQ(login.Context(), "Marrowby");
    const LoginRecord &record = login.Record();
    for (std::size_t i = std::strlen("Marrowby"); i < LoginFieldSize; ++i) {
        ASSERT_EQ(record.context[i], '\0') << i;
    }
}

TEST(ServerLoginTest, CutsAUserOf128OrMoreCharactersTo127)
{
    BackupServer server;
    const std::string user = std::string(127, 'u') + "XYZ";
    ServerLogin login(server, user.c_str(), std::string(128, 'c').c_str());
    EXPECT_EQ(std::string(login.UserName()), std::string(127, 'u'));
    EXPECT_EQ(std::string(login.Context()), std::string(127, 'c'));
}

TEST(ServerLoginTest, SimulationLogsInEveryUserAndKeepsTheRecord)
{
    BackupServer server;
    ServerLogin login(server);
    EXPECT_EQ(login.LoginCurrent(), 0);
    EXPECT_EQ(login.Login("Someone.Else", "secret"), 0);
    EXPECT_STREQ(login.UserName(), "Admin.Tech_Support.Marrowby");
}

TEST(ServerLoginTest, AsksTheServerForItsVerdict)
{
    ScriptedServer script;
    script.SetLoggedIn(false);
    script.SetAcceptedLogin("Admin", "pw");
    BackupServer server(script);
    ServerLogin login(server);

    EXPECT_NE(login.LoginCurrent(), 0);
    EXPECT_NE(login.Login("Admin", "wrong"), 0);
    EXPECT_EQ(login.Login("Admin", "pw"), 0);
    EXPECT_THAT(script.Logins(), testing::ElementsAre(testing::Pair("Admin", "wrong"),
                                                      testing::Pair("Admin", "pw")));
}
} // namespace
