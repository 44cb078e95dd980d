// A profile file's path, held in a fixed 256-character buffer, with case-insensitive tests.
#include "mwlib/MW_FileName.h"

#include "mwlib/MW_Text.h"

#include <cstring>
#include <sys/stat.h>

MW_FileName::MW_FileName(const char *text, int32_t *traceSwitch, std::FILE *traceStream)
    : MW_TraceObject(traceSwitch, traceStream)
{
    if (!text)
        return;
    const std::size_t length = std::strlen(text);
    if (length >= PathSize)
        return;
    std::memcpy(path, text, length + 1);
    valid = true;
}

const char *MW_FileName::BaseName() const
{
    const char *base = path;
    for (const char *c = path; *c; ++c) {
        if (*c == '/' || *c == '\\')
            base = c + 1;
    }
    return base;
}

bool MW_FileName::StartsWith(const char *text) const
{
    return text && MW_Text::StartsIgnoringCase(path, text);
}

bool MW_FileName::Equals(const char *text) const
{
    return text && MW_Text::EqualIgnoringCase(path, text);
}

void MW_FileName::SystemPath(char (&out)[PathSize]) const
{
    for (int i = 0; i < PathSize; ++i)
        out[i] = path[i] == '\\' ? '/' : path[i];
}

int32_t MW_FileName::TimeStamp(uint32_t *stamp) const
{
    char systemPath[PathSize];
    SystemPath(systemPath);
    struct stat status;
    const bool known = valid && stat(systemPath, &status) == 0;
    if (stamp)
        *stamp = known ? static_cast<uint32_t>(status.st_mtime) : 0;
    return 0;
}
