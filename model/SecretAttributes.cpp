// The names of the secret attributes, of the directory's schemas and the domain's.
#include "model/SecretAttributes.h"

#include <mutex>
#include <set>
#include <string>

#include "mwlib/MW_Text.h"

namespace
{
// Types that hold secrets without saying so in their names.
constexpr std::string_view kWellKnown[] = {
    "ntpwdhistory",         "lmpwdhistory",        "supplementalcredentials",
    "sambapasswordhistory", "pwdhistory",          "krb5key",
    "krbprincipalkey",      "currentvalue",        "priorvalue",
    "trustauthincoming",    "trustauthoutgoing",   "initialauthincoming",
    "initialauthoutgoing",  "msds-managedpassword"};

std::string TypeOf(std::string_view name)
{
    std::string type(name.substr(0, name.find(';')));
    for (char &c : type) {
        c = MW_Text::FoldCase(c);
    }
    return type;
}

struct Added {
    std::mutex lock; // asked by the window while the server's worker may learn its schema
    std::set<std::string, std::less<>> types;
};

Added &AddedTypes()
{
    static Added added;
    return added;
}
} // namespace

bool IsSecretAttribute(std::string_view name)
{
    const std::string type = TypeOf(name);
    if (type.ends_with("password") || type.ends_with("pwd")) {
        return true;
    }
    for (std::string_view known : kWellKnown) {
        if (type == known) {
            return true;
        }
    }
    Added &added = AddedTypes();
    const std::lock_guard<std::mutex> hold(added.lock);
    return added.types.contains(type);
}

void AddSecretAttribute(std::string_view name)
{
    Added &added = AddedTypes();
    const std::lock_guard<std::mutex> hold(added.lock);
    added.types.insert(TypeOf(name));
}
