// Decoding base64 values of LDIF.
#include "catalogue/Base64.h"

namespace
{
int Sextet(char c)
{
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}
} // namespace

std::optional<std::string> DecodeBase64(std::string_view text)
{
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        int padding = 0;
        unsigned group = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const char c = text[at + i];
            if (c == '=' && last && i >= 2) {
                ++padding;
                group <<= 6;
                continue;
            }
            const int sextet = Sextet(c);
            if (sextet < 0 || padding > 0) {
                return std::nullopt;
            }
            group = (group << 6) | static_cast<unsigned>(sextet);
        }
        bytes += static_cast<char>((group >> 16) & 0xFF);
        if (padding < 2) {
            bytes += static_cast<char>((group >> 8) & 0xFF);
        }
        if (padding < 1) {
            bytes += static_cast<char>(group & 0xFF);
        }
    }
    return bytes;
}

bool IsBase64(std::string_view text)
{
    if (text.size() % 4 != 0) {
        return false;
    }
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool inLastTwo = at + 2 >= text.size();
        if (text[at] == '=' && inLastTwo) {
            // Padding only at the end: "x=" or "==", never "=x".
            if (at + 1 < text.size() && text[at + 1] != '=') {
                return false;
            }
            continue;
        }
        if (Sextet(text[at]) < 0) {
            return false;
        }
    }
    return true;
}
