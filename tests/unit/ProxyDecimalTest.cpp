// Tests of reading and writing decimal numbers.
#include "proxy/Decimal.h"

#include <gtest/gtest.h>

#include <limits.h>

TEST(ProxyDecimalTest, LeadingDigitsBlanksAndSign)
{
    struct Case
    {
        const wchar_t* text;
        int value;
    } cases[] = {
        { L"8080", 8080 },
        { L"  42", 42 },
        { L"\t7", 7 },
        { L"+15", 15 },
        { L"-1", -1 },
        { L"12abc", 12 },
        { L"3.5", 3 },
        { L"", 0 },
        { L"abc", 0 },
        { L"-", 0 },
        { L"+-3", 0 },
        { L"- 3", 0 },
        { L"007", 7 },
        { L"2147483647", INT_MAX },
        { L"2147483648", INT_MAX },  // saturates, never wraps
        { L"99999999999999999999", INT_MAX },
        { L"-2147483648", INT_MIN },
        { L"-99999999999999999999", INT_MIN },
        { L"\x0661\x0662", 0 },  // only ASCII digits count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, ParseDecimal(c.text)) << "wide \"" << testing::PrintToString(c.text) << "\"";
    }
    EXPECT_EQ(0, ParseDecimal(static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(-25, ParseDecimal(" -25x"));
    EXPECT_EQ(4294967, ParseDecimal("4294967"));
    EXPECT_EQ(INT_MAX, ParseDecimal("4294967376"));  // not 80
}

TEST(ProxyDecimalTest, RangeCheck)
{
    int n = 99;
    EXPECT_TRUE(ParseDecimalInRange(L"5", 5, 30, n));
    EXPECT_EQ(5, n);
    EXPECT_TRUE(ParseDecimalInRange(L"30", 5, 30, n));
    EXPECT_EQ(30, n);
    n = 99;
    EXPECT_FALSE(ParseDecimalInRange(L"31", 5, 30, n));
    EXPECT_FALSE(ParseDecimalInRange(L"4", 5, 30, n));
    EXPECT_FALSE(ParseDecimalInRange(L"x", 5, 30, n));  // reads as 0
    EXPECT_EQ(99, n);                                   // left alone
    EXPECT_TRUE(ParseDecimalInRange(L"x", 0, 2, n));
    EXPECT_EQ(0, n);
}
