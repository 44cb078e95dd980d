#include "startup/RestoreProfile.h"

RestoreProfile::RestoreProfile(MW_Application *owner, MW_String &section, MW_String &key,
                               MW_Cache &serverNames)
    : MW_Profile(owner)
{
    MW_ProfileKey servers{};
    servers.section = &section;
    servers.key = &key;
    servers.flags = MW_ProfileKey::Active | MW_ProfileKey::Required | MW_ProfileKey::MultiValued;
    servers.type = MW_ProfileKey::String;
    servers.target = &serverNames;
    servers.minimum = 1;
    servers.maximum = kMaxServerName;
    RegisterKey(servers);
    loadResult_ = Load();
    CloseAll();
}

RestoreProfile::~RestoreProfile() = default;
