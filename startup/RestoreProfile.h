// The program's configuration: "TARVIK.INI" beside the program (and the profiles it names),
// read once at start-up. Its one key is the list of backup servers.
#pragma once

#include <cstdint>

#include "mwlib/MW_Profile.h"

class RestoreProfile : public MW_Profile
{
  public:
    static constexpr uint32_t kMaxServerName = 48;

    // Registers section/key ("SERVER"/"BackupServer": a required list of 1 to 48 characters
    // into serverNames), loads the profiles and closes them again.
    RestoreProfile(MW_Application *owner, MW_String &section, MW_String &key,
                   MW_Cache &serverNames);
    ~RestoreProfile() override;

    bool ProfileLoaded() const { return loadResult_ == 0; }

  private:
    int32_t loadResult_ = 0;
};
