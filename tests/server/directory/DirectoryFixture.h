// A directory backup server over a private slapd, asked through the request records the tree
// sends.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "server/BackupServer.h"
#include "server/directory/LdapServer.h"
#include "tests/server/directory/RecordRequests.h"
#include "tests/support/core/SlapdServer.h"

class DirectoryFixture : public testing::Test, protected RecordRequests
{
  protected:
    explicit DirectoryFixture(std::string seed = MarrowbySeed(), std::string extraConfig = "",
                              bool tls = false)
        : slapd({std::move(seed), std::move(extraConfig), tls})
    {
    }

    void SetUp() override { ASSERT_TRUE(slapd.Running()) << slapd.Failure(); }

    // The manager's identity over the socket.
    LdapSettings Settings() const
    {
        LdapSettings settings = slapd.SocketSettings("LDAP1");
        settings.timeoutSeconds = 5;
        return settings;
    }

    // Opens a server with these settings into `server`; its messages go to `log`.
    int32_t Open(const LdapSettings &settings) { return OpenServer(settings, ldap); }
    void OpenAndLogIn()
    {
        ASSERT_EQ(Open(Settings()), 0) << Log();
        ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    }

    SlapdServer slapd;
    LdapServer *ldap = nullptr;
};
