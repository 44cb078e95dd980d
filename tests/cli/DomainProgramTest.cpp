// The built tarvik-restore against a domain controller (a private Samba controller), with a
// TARVIK.INI section of Kind=ActiveDirectory: the same start-up and module as the window's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/cli/ProgramRun.h"
#include "tests/cli/ReadBack.h"
#include "tests/support/core/DomainController.h"

using testing::HasSubstr;

namespace
{
std::string PasswordFile(const ProgramFolder &folder)
{
    const std::string path =
        folder.folder.Write("dc1.password", std::string(DomainController::AdminPassword));
    ::chmod(path.c_str(), 0600);
    return path;
}

constexpr const char *SalesDn = "OU=Sales,DC=marrowby,DC=test";
constexpr const char *AnnDn = "CN=Ann Smith,OU=Sales,DC=marrowby,DC=test";

std::string Section(const std::string &uri, const std::string &caFile,
                    const std::string &passwordFile)
{
    return "[SERVER]\nBackupServer=DC1\n\n[DC1]\nKind=ActiveDirectory\nUri=" + uri +
           "\nCaFile=" + caFile + "\nBase=" + DomainController::Base +
           "\nBindDn=" + DomainController::AdminDn + "\nPasswordFile=" + passwordFile + "\n";
}

class DomainProgram : public testing::Test
{
  protected:
    DomainProgram() : dc(DomainController::Options{true}) {}
    void SetUp() override
    {
        ASSERT_TRUE(dc.Running()) << dc.Failure();
        ASSERT_TRUE(dc.Modify(std::string("dn: ") + SalesDn +
                              "\nchangetype: add\nobjectClass: organizationalUnit\n\ndn: " + AnnDn +
                              "\nchangetype: add\nobjectClass: user\nsAMAccountName: ann\n"
                              "description: Sells to the north\n"));
    }

    DomainController dc;
};

TEST_F(DomainProgram, ADryRunSaysWhatComesBackThenTheRunBringsBackADeletedOuWithItsChildren)
{
    ASSERT_TRUE(dc.Delete(SalesDn, true));
    ASSERT_FALSE(dc.Exists(AnnDn));
    ProgramFolder folder("");
    folder.folder.Write("TARVIK.INI", Section(dc.Uri(), dc.CaFile(), PasswordFile(folder)));
    const ProgramResult dryRun = folder.Run({"--dry-run", "Sales.marrowby.test"});
    EXPECT_EQ(dryRun.exitCode, 0) << dryRun.err << dryRun.out;
    EXPECT_THAT(dryRun.out,
                testing::StartsWith("1 to add, 0 to change, 0 unchanged, 0 cannot be restored\n"));
    EXPECT_THAT(dryRun.out, HasSubstr("would restore  add, with everything below it\n"));
    EXPECT_FALSE(dc.Exists(SalesDn));

    const ProgramResult result = folder.Run({"--format=csv", "Sales.marrowby.test"});
    EXPECT_EQ(result.exitCode, 0) << result.err << result.out;
    const std::optional<std::vector<readback::Row>> rows = readback::Csv(result.out);
    ASSERT_TRUE(rows && rows->size() == 2) << result.out;
    EXPECT_EQ((*rows)[1][0], "Sales.marrowby.test");
    EXPECT_EQ((*rows)[1][3], "restored");
    EXPECT_TRUE(dc.Exists(AnnDn));
    EXPECT_THAT(dc.Search(AnnDn, "base", "(objectClass=*)", {"description"}),
                HasSubstr("Sells to the north"));
}

// A password would go in the clear: the section is refused before anything is sent (no
// controller needs to listen), as the window refuses it, and the program says why, with the
// status of settings that cannot work.
TEST(DomainProgramSettings, ASectionWithoutTlsIsASettingsRefusal)
{
    ProgramFolder folder("");
    folder.folder.Write("TARVIK.INI",
                        Section("ldap://127.0.0.1:9", folder.Path("ca.pem"), PasswordFile(folder)));
    for (const std::vector<std::string> &words :
         {std::vector<std::string>{"Sales.marrowby.test"},
          std::vector<std::string>{"--server", "DC1", "Sales.marrowby.test"}}) {
        const ProgramResult result = folder.Run(words);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_THAT(result.err, HasSubstr("takes passwords only over TLS"));
        EXPECT_EQ(result.out, "");
    }
}
} // namespace
