// A profile file as the profile reader sees it: opened, closed, and read by section and key.
#include "mwlib/MW_ConfigSource.h"

MW_ConfigSource::MW_ConfigSource(const MW_String &name, int32_t *traceSwitch,
                                 std::FILE *traceStream)
    : MW_TraceObject(traceSwitch, traceStream), fileName(name)
{
}

MW_ConfigSource::~MW_ConfigSource() = default;
