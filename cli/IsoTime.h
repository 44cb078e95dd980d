// Backup times written as people and scripts write them: ISO 8601, in UTC with a "Z"
// (2026-11-30T02:00:00Z), with an offset (+01:00), or in local time without either.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/ServerRecords.h"

class IsoTime
{
  public:
    // The backup time the text names; nothing when it is not such a time, or lies outside what a
    // backup time can hold (after 1970-01-01T00:00:00Z, before 2106).
    static std::optional<BackupTime> Parse(std::string_view text);
    // In UTC, with seconds and a "Z".
    static std::string Format(BackupTime time);
};
