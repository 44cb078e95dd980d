// Which attributes hold secrets.
#include <gtest/gtest.h>

#include "model/SecretAttributes.h"

namespace
{
TEST(SecretAttributesTest, PasswordsAndTheirHashesAreSecretsWhateverTheirCaseOrOptions)
{
    for (const char *name : {"userPassword", "USERPASSWORD", "userPassword;binary", "authPassword",
                             "unicodePwd", "dBCSPwd", "ntPwdHistory", "supplementalCredentials",
                             "sambaNTPassword", "sambaLMPassword", "msDS-ManagedPassword",
                             "clearTextPassword", "krbPrincipalKey", "trustAuthIncoming"}) {
        EXPECT_TRUE(IsSecretAttribute(name)) << name;
    }
    for (const char *name : {"cn", "pwdLastSet", "passwordExpiry", "description", "seeAlso",
                             "msDS-ManagedPasswordId", "badPwdCount"}) {
        EXPECT_FALSE(IsSecretAttribute(name)) << name;
    }
}

TEST(SecretAttributesTest, ATypeTheSchemaMarksIsASecretFromThenOn)
{
    EXPECT_FALSE(IsSecretAttribute("vaultToken"));
    AddSecretAttribute("VaultToken");
    EXPECT_TRUE(IsSecretAttribute("vaulttoken;x-tag"));
}
} // namespace
