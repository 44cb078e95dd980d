// The names of the secret attributes, of the directory's schemas and the domain's.
#include "model/SecretAttributes.h"

#include "mwlib/MW_Text.h"

namespace
{
constexpr std::string_view kSecrets[] = {
    "userPassword",
    "authPassword",
    "unicodePwd",
    "dBCSPwd",
    "ntPwdHistory",
    "lmPwdHistory",
    "supplementalCredentials",
    "currentValue",
    "priorValue",
    "trustAuthIncoming",
    "trustAuthOutgoing",
    "initialAuthIncoming",
    "initialAuthOutgoing",
    "sambaNTPassword",
    "sambaLMPassword",
    "sambaPasswordHistory",
    "krbPrincipalKey",
    "clearTextPassword",
};
} // namespace

bool IsSecretAttribute(std::string_view name)
{
    const std::string_view type = name.substr(0, name.find(';'));
    for (std::string_view secret : kSecrets) {
        if (type.size() == secret.size() &&
            MW_Text::SameIgnoringCase(type.data(), secret.data(), type.size())) {
            return true;
        }
    }
    return false;
}
