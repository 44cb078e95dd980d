// A profile file as the profile reader sees it: opened, closed, and read by section and key.
#pragma once

#include "mwlib/MW_String.h"
#include "mwlib/MW_TraceObject.h"

#include <cstdint>

class MW_Cache;

// Results: 0 found and valid; -1 no target or unknown type; -2 key not found; -3 value not
// acceptable; -4 file not opened; -5 a list string could not be created. The enforced-out
// pointers may be null.
class MW_ConfigSource : public MW_TraceObject
{
  public:
    explicit MW_ConfigSource(const MW_String &fileName, int32_t *traceSwitch = nullptr,
                             std::FILE *traceStream = nullptr);
    ~MW_ConfigSource() override;

    virtual int32_t Open() = 0;
    virtual void Close() = 0;
    virtual int32_t HasChanged() { return 0; }
    // The range arguments of ReadBool are not used.
    virtual int32_t ReadBool(const MW_String &section, const MW_String &key, uint32_t minimum,
                             uint32_t maximum, bool *target, int32_t *enforced) = 0;
    virtual int32_t ReadString(const MW_String &section, const MW_String &key, uint32_t minimum,
                               uint32_t maximum, MW_String *target, int32_t *enforced) = 0;
    virtual int32_t ReadInt(const MW_String &section, const MW_String &key, uint32_t minimum,
                            uint32_t maximum, int32_t *target, int32_t *enforced) = 0;
    virtual int32_t ReadLong(const MW_String &section, const MW_String &key, uint32_t minimum,
                             uint32_t maximum, int32_t *target, int32_t *enforced) = 0;
    // Appends every value of the key to target (see MW_ProfileListValue for the entries).
    virtual int32_t ReadList(const MW_String &section, const MW_String &key, uint32_t type,
                             uint32_t minimum, uint32_t maximum, MW_Cache *target) = 0;

    const MW_String &FileName() const { return fileName; }
    // Why the last Open failed ("missing", "not a regular file", ...); empty after a success.
    const MW_String &OpenFault() const { return openFault; }

  protected:
    MW_String fileName;
    MW_String openFault;
};
