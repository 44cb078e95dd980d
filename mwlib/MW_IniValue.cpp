// Turns a profile value into a boolean or an integer, and checks ranges.
#include "mwlib/MW_IniValue.h"

#include "mwlib/MW_Text.h"

bool MW_IniValue::ToBool(const char *text, bool *result)
{
    static const char *const truths[] = {"TRUE", "YES", "Y", "ON", "1"};
    static const char *const falsehoods[] = {"FALSE", "NO", "N", "OFF", "0"};
    for (const char *word : truths) {
        if (MW_Text::EqualIgnoringCase(text, word)) {
            *result = true;
            return true;
        }
    }
    for (const char *word : falsehoods) {
        if (MW_Text::EqualIgnoringCase(text, word)) {
            *result = false;
            return true;
        }
    }
    return false;
}

int32_t MW_IniValue::ToInt(const char *text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    uint32_t magnitude = 0; // unsigned arithmetic wraps where signed would overflow
    for (; *text >= '0' && *text <= '9'; ++text)
        magnitude = magnitude * 10u + static_cast<uint32_t>(*text - '0');
    if (negative)
        magnitude = 0u - magnitude;
    return static_cast<int32_t>(magnitude);
}

bool MW_IniValue::InRange(uint32_t value, uint32_t minimum, uint32_t maximum)
{
    return maximum == 0 || (value >= minimum && value <= maximum);
}
