#include "chem/number_text.h"

#include <cmath>

#include <gtest/gtest.h>

namespace isoquill::testing {

TEST(NumberText, WritesFixedPointPaddedNeverCutWithExactTiesRoundedAwayFromZero) {
    const struct { long double value; int width, decimals; const char* text; } cases[] = {
        {180.0634L, 9, 3, "  180.063"}, {-0.25L, 5, 2, "-0.25"}, {0.06L, 5, 2, " 0.06"}, {1234.56L, 4, 1, "1234.6"},
        {12.34L, 4, 1, "12.3"}, {100.0L, 9, 5, "100.00000"}, {12.0L, 7, 0, "     12"}, {0.5L, 6, 4, "0.5000"},
        {0.5L, 8, 3, "   0.500"}, {0.0L, 6, 1, "   0.0"}, {-0.0L, 6, 1, "   0.0"}, {-0.001L, 6, 2, " -0.00"},
        {1e20L, 3, 1, "100000000000000000000.0"}, {0.125L, 0, 2, "0.13"}, {-0.125L, 0, 2, "-0.13"}, {2.5L, 0, 0, "3"},
        {0.5L, 0, 0, "1"}, {0.375L, 0, 2, "0.38"}, {9.5L, 0, 0, "10"}, {-99.75L, 0, 1, "-99.8"},
        {1.005L, 0, 2, "1.00"}, {0.15L, 0, 1, "0.2"},  // no ties: 1.005 is stored below the half, 0.15 above
    };
    for (const auto& c : cases) EXPECT_EQ(formatReal(c.value, c.width, c.decimals), c.text) << c.text;
}

TEST(NumberText, ReadsTheLongestNumericPrefixAndIntegersSaturated) {
    const struct { const char* text; long double value; } numbers[] = {
        {"1,5", 1.5L}, {"6,9", 6.9L}, {" -0,25x", -0.25L}, {",5", 0.5L}, {"5,", 5.0L}, {",", 0.0L},
        {"1,5.3", 1.5L}, {"1.2,3", 1.2L}, {"1,5e2", 150.0L}, {"1 ,5", 1.0L}, {"  -3.5", -3.5L}, {"+2", 2.0L},
        {"", 0.0L}, {"abc", 0.0L}, {"1e3", 1000.0L}, {"1e", 1.0L}, {"-", 0.0L}, {" . ", 0.0L}, {"1e-40", 1e-40L},
        {"2E+2x", 200.0L}, {"0x10", 0.0L}, {"  0x10", 0.0L}, {"inf", 0.0L}, {"nan", 0.0L}, {"\t5", 0.0L},
        {"1e-99999", 0.0L}, {"1e99999", HUGE_VALL},
    };
    for (const auto& c : numbers) EXPECT_EQ(readNumber(c.text), c.value) << c.text;
    const struct { const char* text; std::int32_t value; } integers[] = {
        {"12x", 12}, {" -7", -7}, {"+4", 4}, {"3.9", 3}, {"", 0}, {"x1", 0}, {"    3", 3},
        {"99999999999", 2147483647}, {"-99999999999", -2147483648}, {"-2147483648", -2147483648},
    };
    for (const auto& c : integers) EXPECT_EQ(readInteger(c.text), c.value) << c.text;
}

}  // namespace isoquill::testing
