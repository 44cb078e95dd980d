// Taking an attribute line apart.
#include "catalogue/LdifLine.h"

#include <algorithm>

#include "catalogue/AsciiCase.h"
#include "catalogue/Base64.h"

namespace
{
bool IsDescriptionCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ';' || c == '.';
}
} // namespace

std::optional<LdifLine> LdifLine::Split(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    LdifLine split;
    split.description = line.substr(0, colon);
    if (!std::all_of(split.description.begin(), split.description.end(), IsDescriptionCharacter)) {
        return std::nullopt;
    }
    std::size_t value = colon + 1;
    if (value < line.size() && line[value] == '<') {
        return std::nullopt;
    }
    split.base64 = value < line.size() && line[value] == ':';
    value += split.base64 ? 1 : 0;
    while (value < line.size() && line[value] == ' ') {
        ++value;
    }
    split.value = line.substr(value);
    return split;
}

std::optional<std::string> LdifLine::Decoded() const
{
    return base64 ? DecodeBase64(value) : std::optional<std::string>(std::string(value));
}

bool LdifLine::Names(std::string_view name) const
{
    return description.size() == name.size() &&
           std::equal(description.begin(), description.end(), name.begin(),
                      [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}
