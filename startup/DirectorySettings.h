// Reads the settings of a directory backup server from the profile section named like the
// server (through the profile reader's default, global and local chain).
#pragma once

#include <optional>
#include <string>

#include "server/LdapSettings.h"

class MW_Profile;

class DirectorySettings
{
  public:
    // The settings when the section holds any of the directory keys (Kind, Uri, Base,
    // Catalogue, BindDn, PasswordFile, Sasl, Timeout, ContainerClasses, CaFile, StartTls,
    // AllowPlainBind);
    // nothing otherwise, and the server stays simulated. Relative paths count from the
    // program's directory.
    static std::optional<LdapSettings> Read(MW_Profile &profile, const std::string &serverName,
                                            const std::string &programDirectory);
};
