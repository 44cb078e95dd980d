// Times in the saved files and the journal: ISO 8601 in the local time of the machine that wrote
// them, with its offset from UTC ("2024-05-03T14:22:10+02:00"), so that a reader sees the
// administrator's clock and still knows the exact moment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

std::string IsoTime(int64_t secondsSince1970);
// Reads "YYYY-MM-DDTHH:MM:SS" followed by "Z" or an offset "+HH:MM" / "-HH:MM"; nothing else.
std::optional<int64_t> ParseIsoTime(std::string_view text);
