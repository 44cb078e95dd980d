// The one entry point of the directory module (tarvik-directory.so): the program looks it up by
// name after loading the module, so nothing else of the module, nor libldap, is linked into it.
#pragma once

#include <string>

#include "server/LdapSettings.h"
#include "server/ServerBackend.h"

// Raised whenever LdapSettings or ServerBackend change shape: a module built from other sources
// then refuses to create a backend instead of misreading the settings.
inline constexpr int kDirectoryInterfaceVersion = 8;
inline constexpr const char *kDirectoryFactoryName = "TarvikCreateDirectoryBackend";

extern "C" {
// A new directory backend for the settings, owned by the caller; null, with the reason in
// *reason, when it cannot be made. interfaceVersion is the caller's kDirectoryInterfaceVersion.
ServerBackend *TarvikCreateDirectoryBackend(int interfaceVersion, const LdapSettings *settings,
                                            std::string *reason);
}

using DirectoryFactory = decltype(TarvikCreateDirectoryBackend);
