// The directory module's entry point: the only symbol the module exports.
#include "server/DirectoryFactory.h"

#include <exception>

#include <strings.h>

#include "server/directory/DomainServer.h"

extern "C" __attribute__((visibility("default"))) ServerBackend *
TarvikCreateDirectoryBackend(int interfaceVersion, const LdapSettings *settings,
                             std::string *reason)
{
    // Nothing may be thrown across the module's boundary.
    try {
        if (interfaceVersion != kDirectoryInterfaceVersion) {
            *reason = "built for another version of the program";
            return nullptr;
        }
        const std::string &kind = settings->kind;
        if (strcasecmp(kind.c_str(), LdapSettings::ActiveDirectoryKind) == 0) {
            return new DomainServer(*settings);
        }
        if (!kind.empty() && strcasecmp(kind.c_str(), LdapSettings::DirectoryKind) != 0) {
            *reason = "Kind " + kind + " is not known: give " + LdapSettings::DirectoryKind +
                      " or " + LdapSettings::ActiveDirectoryKind;
            return nullptr;
        }
        return new LdapServer(*settings);
    } catch (const std::exception &error) {
        *reason = error.what();
    }
    return nullptr;
}
