// Which attributes hold secrets, and what is shown of their values.
#include <gtest/gtest.h>

#include "model/SecretAttributes.h"

namespace
{
TEST(SecretAttributesTest, PasswordsAndTheirHashesAreSecretsWhateverTheirCaseOrOptions)
{
    for (const char *name : {"userPassword", "USERPASSWORD", "userPassword;binary", "authPassword",
                             "unicodePwd", "dBCSPwd", "ntPwdHistory", "supplementalCredentials",
                             "sambaNTPassword", "sambaLMPassword", "msDS-ManagedPassword"}) {
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

TEST(SecretAttributesTest, OnlyTheSizeOfASecretValueIsShown)
{
    EXPECT_EQ(ShownSecretValue("plainsecret"), "11 bytes");
    EXPECT_EQ(ShownSecretValue("x"), "1 byte");
    EXPECT_EQ(ShownSecretValue(""), "0 bytes");
}
} // namespace
