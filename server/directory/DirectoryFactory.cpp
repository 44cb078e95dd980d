// The directory module's entry point: the only symbol the module exports.
#include "server/DirectoryFactory.h"

#include <exception>

#include "server/directory/LdapServer.h"

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
        return new LdapServer(*settings);
    } catch (const std::exception &error) {
        *reason = error.what();
    }
    return nullptr;
}
