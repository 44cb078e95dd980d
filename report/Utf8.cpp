#include "report/Utf8.h"

namespace
{
bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}
} // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return 1;
    }
    // The lead byte tells the length, the bits it carries and the least value of that length
    // (a smaller one is an over-long form).
    struct Form {
        unsigned char mask, lead, bits;
        std::size_t length;
        char32_t lowest;
    };
    static constexpr Form kForms[] = {
        {0xE0, 0xC0, 0x1F, 2, 0x80}, {0xF0, 0xE0, 0x0F, 3, 0x800}, {0xF8, 0xF0, 0x07, 4, 0x10000}};
    const Form *form = nullptr;
    for (const Form &candidate : kForms) {
        if ((lead & candidate.mask) == candidate.lead) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        return 0;
    }
    const std::size_t length = form->length;
    const char32_t lowest = form->lowest;
    char32_t value = lead & form->bits;
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte)) {
            return 0;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < lowest || value > 0x10FFFF || surrogate ? 0 : length;
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
