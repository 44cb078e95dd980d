// Which version of an object to restore: the newest, the one backed up at an exact time, or the
// newest one at or before a time.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "server/ServerRecords.h"

class VersionPick
{
  public:
    enum class Kind { Newest, Exact, AtOrBefore };

    VersionPick() = default; // the newest
    VersionPick(Kind kind, BackupTime time) : kind_(kind), time_(time) {}

    // "newest", an ISO 8601 time, or "<=" and one; nothing for anything else.
    static std::optional<VersionPick> Parse(std::string_view text);

    Kind GetKind() const { return kind_; }
    bool IsNewest() const { return kind_ == Kind::Newest; }
    // The version picked among the object's backup times (in any order); nothing when none
    // fits. Not for Newest, which the server picks itself.
    std::optional<BackupTime> Choose(std::span<const BackupTime> times) const;
    // "newest", "2026-11-30T02:00:00Z" or "<=2026-11-30T02:00:00Z", in UTC.
    std::string Describe() const;

    bool operator==(const VersionPick &) const = default;

  private:
    Kind kind_ = Kind::Newest;
    BackupTime time_ = 0;
};
