#include "report/JsonText.h"

#include <cstdio>

#include "report/Utf8.h"

namespace
{

void AppendEscaped(std::string &out, char c)
{
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
        out += escape;
    } else {
        out += c;
    }
}

} // namespace

void AppendJsonString(std::string &out, std::string_view text)
{
    out += '"';
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            AppendUtf8(out, kReplacementCharacter);
            ++at;
        } else if (length == 1) {
            AppendEscaped(out, text[at++]);
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    out += '"';
}

std::string JsonString(std::string_view text)
{
    std::string out;
    AppendJsonString(out, text);
    return out;
}
