// A domain controller's backup server over a private Samba controller, asked through the
// request records the tree sends, with the usual test objects in the domain.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "server/directory/DomainServer.h"
#include "tests/server/directory/RecordRequests.h"
#include "tests/support/core/DomainController.h"

class DomainFixture : public testing::Test, protected RecordRequests
{
  protected:
    // The domain's name in the tree, and the full names of the usual objects.
    static constexpr const char *Top = "marrowby.test";
    static constexpr const char *Sales = "Sales.marrowby.test";
    static constexpr const char *Ann = "Ann Smith.Sales.marrowby.test";
    static constexpr const char *North = "North.Sales.marrowby.test";
    static constexpr const char *Bob = "Bob.North.Sales.marrowby.test";
    static constexpr const char *SalesDn = "OU=Sales,DC=marrowby,DC=test";
    static constexpr const char *AnnDn = "CN=Ann Smith,OU=Sales,DC=marrowby,DC=test";
    static constexpr const char *NorthDn = "OU=North,OU=Sales,DC=marrowby,DC=test";
    static constexpr const char *BobDn = "CN=Bob,OU=North,OU=Sales,DC=marrowby,DC=test";
    static constexpr const char *TeamDn = "CN=Team,OU=Sales,DC=marrowby,DC=test";

    DomainFixture() = default;
    explicit DomainFixture(const DomainController::Options &options) : dc(options) {}

    // OU=Sales with Ann Smith (a user with names, mail and a description) and the group Team
    // she is a member of; OU=North below it with Bob.
    void SetUp() override
    {
        ASSERT_TRUE(dc.Running()) << dc.Failure();
        ASSERT_TRUE(dc.Modify(std::string("dn: ") + SalesDn +
                              "\nchangetype: add\nobjectClass: organizationalUnit\n\n"
                              "dn: " +
                              AnnDn +
                              "\nchangetype: add\nobjectClass: user\nsAMAccountName: ann\n"
                              "sn: Smith\ngivenName: Ann\nmail: ann@marrowby.test\n"
                              "description: Sells to the north\n\n"
                              "dn: " +
                              TeamDn +
                              "\nchangetype: add\nobjectClass: group\nsAMAccountName: team\n"
                              "member: " +
                              AnnDn +
                              "\n\n"
                              "dn: " +
                              NorthDn +
                              "\nchangetype: add\nobjectClass: organizationalUnit\n\n"
                              "dn: " +
                              BobDn +
                              "\nchangetype: add\nobjectClass: user\nsAMAccountName: bob\n"
                              "description: Drives north\n"));
    }

    LdapSettings Settings() const { return dc.Settings("DC1"); }

    // Opens a server with these settings into `server`; its messages go to `log`.
    int32_t Open(const LdapSettings &settings) { return OpenServer(settings, domain); }
    void OpenAndLogIn()
    {
        ASSERT_EQ(Open(Settings()), 0) << Log();
        ASSERT_EQ(domain->LoginCurrent(LoginRecord{}), 0) << Log();
    }

    // The values of one attribute of a live object as the tools write them (base64 where
    // they are binary), one per line; "" when it has none.
    std::string Value(const std::string &dn, const std::string &attribute) const
    {
        const std::string found = dc.Search(dn, "base", "(objectClass=*)", {attribute});
        std::string values;
        for (std::size_t at = found.find("\n" + attribute + ":"); at != std::string::npos;
             at = found.find("\n" + attribute + ":", at + 1)) {
            std::size_t start = at + attribute.size() + 2;
            start = found.find_first_not_of(": ", start);
            values +=
                (values.empty() ? "" : "\n") + found.substr(start, found.find('\n', start) - start);
        }
        return values;
    }
    // Whether a deleted object of that account name is in the deleted-objects container.
    bool Deleted(const std::string &account) const
    {
        return dc.Search(DomainController::Base, "sub",
                         "(&(isDeleted=TRUE)(sAMAccountName=" + account + "))", {"1.1"}, true)
                   .find("dn:") != std::string::npos;
    }

    DomainController dc;
    DomainServer *domain = nullptr;
};
