#include "report/ReportTime.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace
{

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `digits` decimal digits at text[at].
bool ReadNumber(std::string_view text, std::size_t at, std::size_t digits, int &value)
{
    if (at + digits > text.size()) {
        return false;
    }
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    const char *begin = text.data() + at;
    return std::from_chars(begin, begin + digits, value).ec == std::errc{};
}

bool Expect(std::string_view text, std::size_t at, char c)
{
    return at < text.size() && text[at] == c;
}

// The offset at text[at]: "Z" or "+HH:MM" / "-HH:MM", and nothing after it.
std::optional<int> ReadOffsetSeconds(std::string_view text, std::size_t at)
{
    if (at + 1 == text.size() && text[at] == 'Z') {
        return 0;
    }
    if (at + 6 != text.size() || (text[at] != '+' && text[at] != '-')) {
        return std::nullopt;
    }
    int hours = 0, minutes = 0;
    if (!ReadNumber(text, at + 1, 2, hours) || !Expect(text, at + 3, ':') ||
        !ReadNumber(text, at + 4, 2, minutes) || hours > 23 || minutes > 59) {
        return std::nullopt;
    }
    const int seconds = hours * 3600 + minutes * 60;
    return text[at] == '-' ? -seconds : seconds;
}

} // namespace

std::string IsoTime(int64_t secondsSince1970)
{
    const auto time = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    const long offset = local.tm_gmtoff;
    const long absolute = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', absolute / 3600,
                  absolute % 3600 / 60);
    return text;
}

std::optional<int64_t> ParseIsoTime(std::string_view text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text, 0, 4, year) || !Expect(text, 4, '-') || !ReadNumber(text, 5, 2, month) ||
        !Expect(text, 7, '-') || !ReadNumber(text, 8, 2, day) || !Expect(text, 10, 'T') ||
        !ReadNumber(text, 11, 2, hour) || !Expect(text, 13, ':') ||
        !ReadNumber(text, 14, 2, minute) || !Expect(text, 16, ':') ||
        !ReadNumber(text, 17, 2, second)) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return std::nullopt;
    }
    const std::optional<int> offset = ReadOffsetSeconds(text, 19);
    if (!offset) {
        return std::nullopt;
    }
    const int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return days * 86400 + hour * 3600 + minute * 60 + second - *offset;
}
