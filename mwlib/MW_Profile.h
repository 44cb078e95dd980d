// Reads registered settings from a chain of INI profiles: default, global and local.
#pragma once

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_ConfigSource.h"
#include "mwlib/MW_ProfileKey.h"
#include "mwlib/MW_String.h"
#include "mwlib/MW_TraceObject.h"

#include <cstdint>

class MW_Application;

// The default profile is <program directory>/<application name>.INI, from the texts that
// MW_Application recorded. Its section "GLOBALINI", key "Name", may name a global profile;
// without that section the default profile is itself the global one. The global profile's
// section "LOCALINI", key "Name", may name a local profile, whose values win over the global
// ones unless the global line was written "Enforce" + key.
//
// Use: a derived class registers its keys with RegisterKey, calls Load (the files stay open),
// then CloseAll. Load gives 0 when every key was read, 1 when a required key was found in no
// file, 3 when a value was not acceptable, -4 when a profile file could not be opened and 2 when
// a profile object could not be created.
class MW_Profile : public MW_TraceObject
{
  public:
    MW_Profile(MW_Application *owner, int32_t *traceSwitch = nullptr,
               std::FILE *traceStream = nullptr);
    ~MW_Profile() override;

    // Stores a copy of the descriptor; its strings and target stay the caller's.
    int32_t RegisterKey(const MW_ProfileKey &descriptor);
    int32_t Load();
    int32_t ReadKeys();

    virtual int32_t BuildDefaultName();
    virtual int32_t OpenDefaultProfile();
    virtual int32_t ReadGlobalName();
    virtual int32_t OpenGlobalProfile();
    virtual int32_t ReadLocalName();
    virtual int32_t OpenLocalProfile();
    virtual void CloseAll();

    // Through the global profile and then the local one; -1 without a global profile.
    int32_t ReadBool(const MW_String &section, const MW_String &key, uint32_t minimum,
                     uint32_t maximum, bool *target);
    int32_t ReadString(const MW_String &section, const MW_String &key, uint32_t minimum,
                       uint32_t maximum, MW_String *target);
    int32_t ReadInt(const MW_String &section, const MW_String &key, uint32_t minimum,
                    uint32_t maximum, int32_t *target);
    int32_t ReadLong(const MW_String &section, const MW_String &key, uint32_t minimum,
                     uint32_t maximum, int32_t *target);
    // The global profile's values first, then the local profile's (numbered from 1 again).
    int32_t ReadList(const MW_String &section, const MW_String &key, uint32_t type,
                     uint32_t minimum, uint32_t maximum, MW_Cache *target);

    // After a Load that did not give 0: the file it stopped at and what was wrong there, for the
    // owner to report (the reader itself tells nobody).
    const MW_String &FaultFile() const { return faultFile; }
    const MW_String &FaultReason() const { return faultReason; }

    const MW_String &DefaultName() const { return defaultName; }
    const MW_String &GlobalName() const { return globalName; }
    const MW_String &LocalName() const { return localName; }

  protected:
    MW_Application *owner; // not used by the reader itself
    MW_String globalName;
    MW_String defaultName;
    MW_String localName;
    MW_Owned<MW_ConfigSource> globalProfile;
    MW_Owned<MW_ConfigSource> defaultProfile;
    MW_Owned<MW_ConfigSource> localProfile;
    MW_Cache keyRegistry;

    // A new, unopened profile file of that name (an MW_IniFile), made with MW_Allocator::New;
    // null without memory.
    virtual MW_ConfigSource *CreateSource(const MW_String &name);

  private:
    int32_t OpenSource(const MW_String &name, MW_Owned<MW_ConfigSource> &slot);
    void NoteKeyFault(int32_t result, const MW_ProfileKey &descriptor);
    int32_t ReadDescriptor(const MW_ProfileKey &descriptor);
    template <typename T>
    using ScalarRead = int32_t (MW_ConfigSource::*)(const MW_String &, const MW_String &, uint32_t,
                                                    uint32_t, T *, int32_t *);
    // The global-then-local rule shared by the scalar reads.
    template <typename T>
    int32_t Combine(ScalarRead<T> read, const MW_String &section, const MW_String &key,
                    uint32_t minimum, uint32_t maximum, T *target);

    int32_t *traceSwitch;
    std::FILE *traceStream;
    MW_String faultFile;
    MW_String faultReason;
    // The file whose answer the last read through the chain returned.
    const MW_ConfigSource *answered = nullptr;
};
