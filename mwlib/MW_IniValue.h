// Turns a profile value into a boolean or an integer, and checks ranges.
#pragma once

#include <cstdint>

class MW_IniValue
{
  public:
    // TRUE, YES, Y, ON, 1 and FALSE, NO, N, OFF, 0, in any case; anything else (a trailing
    // blank included) is not acceptable and leaves *result alone.
    static bool ToBool(const char *text, bool *result);
    // A signed decimal number: leading white space, an optional sign, digits up to the first
    // non-digit; no digits give 0. Numbers beyond 32 bits wrap around as 32-bit arithmetic
    // would, instead of overflowing.
    static int32_t ToInt(const char *text);
    // Inside [minimum, maximum] as unsigned 32-bit numbers; a maximum of 0 accepts everything.
    static bool InRange(uint32_t value, uint32_t minimum, uint32_t maximum);
};
