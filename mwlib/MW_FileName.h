// A profile file's path, held in a fixed 256-character buffer, with case-insensitive tests.
#pragma once

#include "mwlib/MW_TraceObject.h"

#include <cstdint>

// Both '/' and '\' separate directories. A path of more than 255 characters does not fit: it is
// refused (the name stays empty and Valid() is false) rather than cut, which could name another
// file.
class MW_FileName : public MW_TraceObject
{
  public:
    static constexpr int PathSize = 256;

    explicit MW_FileName(const char *path, int32_t *traceSwitch = nullptr,
                         std::FILE *traceStream = nullptr);

    bool Valid() const { return valid; }
    const char *Path() const { return path; }
    // The text after the last separator, or the whole path.
    const char *BaseName() const;
    bool StartsWith(const char *text) const;
    bool Equals(const char *text) const;
    // The path with every '\' turned into '/', as the system wants it.
    void SystemPath(char (&out)[PathSize]) const;
    // The file's modification time in seconds (0 when it cannot be read); the result is 0.
    int32_t TimeStamp(uint32_t *stamp) const;

  private:
    char path[PathSize] = {};
    bool valid = false;
};
