// JSON text with escapes for quotes, backslashes and control characters.
#include "cli/JsonReport.h"

#include <cstdio>

namespace
{
// The length of the valid UTF-8 sequence at text[at], or 0.
std::size_t SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    uint32_t point = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return overlong || surrogate || point > 0x10FFFF ? 0 : length;
}
} // namespace

std::string JsonReport::String(std::string_view text)
{
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            const std::size_t length = SequenceLength(text, at);
            json += length > 0 ? std::string(text.substr(at, length)) : "\xEF\xBF\xBD";
            at += length > 0 ? length : 1;
            continue;
        }
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            json += escape;
        } else {
            json += static_cast<char>(c);
        }
        ++at;
    }
    return json + "\"";
}

std::string JsonReport::Render(const std::vector<ObjectReport> &reports)
{
    std::string json = "[";
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const ObjectReport &report = reports[i];
        json += i == 0 ? "\n" : ",\n";
        json += "  {\"object\": " + String(report.fullName) +
                ", \"version\": " + String(report.version) +
                ", \"scope\": " + String(ObjectReport::ScopeName(report.scope)) +
                ", \"outcome\": " + String(ObjectReport::OutcomeName(report.outcome)) +
                ", \"message\": " + String(report.message) + "}";
    }
    return json + (reports.empty() ? "]\n" : "\n]\n");
}
