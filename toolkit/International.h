// Dates and times as the user's locale writes them: the short date with a four-digit year, two
// blanks, then the time of day with seconds.
#pragma once

#include <cstdint>
#include <string>

std::string FormatDateTime(int64_t secondsSince1970);
