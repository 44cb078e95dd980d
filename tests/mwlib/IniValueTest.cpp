// Conversion of profile values: boolean words, integers (wrapping, never overflowing), ranges.
#include "mwlib/MW_IniValue.h"

#include <gtest/gtest.h>

namespace
{

TEST(IniValue, BooleanWords)
{
    struct Case {
        const char *text;
        bool acceptable;
        bool value;
    };
    const Case cases[] = {
        {"TRUE", true, true}, {"yes", true, true},    {"Y", true, true},
        {"On", true, true},   {"1", true, true},      {"false", true, false},
        {"NO", true, false},  {"n", true, false},     {"oFF", true, false},
        {"0", true, false},   {"yes ", false, false}, {" yes", false, false},
        {"", false, false},   {"2", false, false},    {"yess", false, false},
        {"t", false, false},
    };
    for (const Case &c : cases) {
        bool value = !c.value;
        const bool sentinel = value;
        EXPECT_EQ(MW_IniValue::ToBool(c.text, &value), c.acceptable) << '"' << c.text << '"';
        EXPECT_EQ(value, c.acceptable ? c.value : sentinel) << '"' << c.text << '"';
    }
}

TEST(IniValue, IntegersWrapAsThirtyTwoBitNumbers)
{
    struct Case {
        const char *text;
        int32_t value;
    };
    const Case cases[] = {
        {"42", 42},
        {"  \t-17xyz", -17},
        {"+8", 8},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MIN}, // one past the top wraps to the bottom
        {"4294967296", 0},         // 2^32
        {"4294967297", 1},
        {"99999999999999999999", 1661992959}, // wrapped modulo 2^32, as 32-bit arithmetic does
        {"12 34", 12},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MW_IniValue::ToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniValue, RangesCompareUnsignedAndZeroMaximumAcceptsAll)
{
    EXPECT_TRUE(MW_IniValue::InRange(49, 1, 0));
    EXPECT_TRUE(MW_IniValue::InRange(48, 1, 48));
    EXPECT_FALSE(MW_IniValue::InRange(49, 1, 48));
    EXPECT_FALSE(MW_IniValue::InRange(0, 1, 48));
    EXPECT_FALSE(MW_IniValue::InRange(static_cast<uint32_t>(-1), 0, 100)); // -1 is 4294967295
}

} // namespace
