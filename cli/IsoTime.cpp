// Reading and writing backup times in ISO 8601.
#include "cli/IsoTime.h"

#include <cstdint>
#include <ctime>
#include <limits>

namespace
{
// Reads exactly `digits` decimal digits at `at`, moving past them.
bool Number(std::string_view text, std::size_t &at, int digits, int &value)
{
    if (at + static_cast<std::size_t>(digits) > text.size()) {
        return false;
    }
    value = 0;
    for (int i = 0; i < digits; ++i, ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

bool Separator(std::string_view text, std::size_t &at, char expected)
{
    if (at >= text.size() || text[at] != expected) {
        return false;
    }
    ++at;
    return true;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// How the time is placed: in UTC (possibly with an offset in seconds), or in local time.
struct Zone {
    bool local = true;
    long offsetSeconds = 0;
};

bool ReadZone(std::string_view text, std::size_t &at, Zone &zone)
{
    if (at == text.size()) {
        return true;
    }
    if ((text[at] == 'Z' || text[at] == 'z') && at + 1 == text.size()) {
        zone.local = false;
        ++at;
        return true;
    }
    if (text[at] != '+' && text[at] != '-') {
        return false;
    }
    const long sign = text[at] == '-' ? -1 : 1;
    ++at;
    int hours = 0;
    int minutes = 0;
    if (!Number(text, at, 2, hours) || !Separator(text, at, ':') || !Number(text, at, 2, minutes) ||
        at != text.size() || hours > 23 || minutes > 59) {
        return false;
    }
    zone.local = false;
    zone.offsetSeconds = sign * (hours * 3600L + minutes * 60L);
    return true;
}
} // namespace

std::optional<BackupTime> IsoTime::Parse(std::string_view text)
{
    std::size_t at = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Number(text, at, 4, year) || !Separator(text, at, '-') || !Number(text, at, 2, month) ||
        !Separator(text, at, '-') || !Number(text, at, 2, day)) {
        return std::nullopt;
    }
    if (at >= text.size() || (text[at] != 'T' && text[at] != 't')) {
        return std::nullopt;
    }
    ++at;
    if (!Number(text, at, 2, hour) || !Separator(text, at, ':') || !Number(text, at, 2, minute) ||
        !Separator(text, at, ':') || !Number(text, at, 2, second)) {
        return std::nullopt;
    }
    Zone zone;
    if (!ReadZone(text, at, zone)) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1; // local time: the library knows whether daylight time applies
    const std::time_t seconds = zone.local ? std::mktime(&fields) : timegm(&fields);
    // -1 is also how the library says it failed; no backup can lie that close to 1970 anyway.
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    const int64_t utc = static_cast<int64_t>(seconds) - zone.offsetSeconds;
    // 0 is no time at all to the server: it stands for the most recent version.
    if (utc <= 0 || utc > std::numeric_limits<BackupTime>::max()) {
        return std::nullopt;
    }
    return static_cast<BackupTime>(utc);
}

std::string IsoTime::Format(BackupTime time)
{
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &fields);
    return text;
}
