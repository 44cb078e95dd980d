// Taking GUIDs out of extended DNs and objectGUID values.
#include "server/directory/ExtendedDn.h"

#include "catalogue/AsciiCase.h"

ExtendedDn ExtendedDn::Parse(std::string_view text)
{
    ExtendedDn parsed;
    // Each component is "<KIND=value>" followed by ';'; the DN proper follows the last.
    while (text.size() > 1 && text.front() == '<') {
        const std::size_t close = text.find('>');
        if (close == std::string_view::npos) {
            break;
        }
        const std::string_view component = text.substr(1, close - 1);
        if (component.size() > 5 && LowerAscii(component.substr(0, 5)) == "guid=") {
            parsed.guid = LowerAscii(component.substr(5));
        }
        text.remove_prefix(close + 1);
        if (!text.empty() && text.front() == ';') {
            text.remove_prefix(1);
        }
    }
    parsed.dn = std::string(text);
    return parsed;
}

std::string ExtendedDn::GuidText(std::string_view bytes)
{
    if (bytes.size() != 16) {
        return "";
    }
    // Bytes in the order they are written: the first three fields reversed.
    static constexpr int Order[] = {3,  2, 1, 0,  -1, 5,  4,  -1, 7,  6,
                                    -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    for (int at : Order) {
        if (at < 0) {
            text += '-';
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[static_cast<std::size_t>(at)]);
        text += Hex[byte >> 4];
        text += Hex[byte & 0x0F];
    }
    return text;
}
