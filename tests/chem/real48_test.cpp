#include "chem/real48.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace isoquill {
namespace {

Real48 bytes(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, std::uint8_t b5) {
    return Real48{{b0, b1, b2, b3, b4, b5}};
}

std::string seventeenDigits(long double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17Lg", x);
    return text;
}

TEST(Real48, StoresTheDocumentedBytes) {
    EXPECT_EQ(storeReal48(1.0L), bytes(0x81, 0, 0, 0, 0, 0x00));
    EXPECT_EQ(storeReal48(-1.0L), bytes(0x81, 0, 0, 0, 0, 0x80));
    EXPECT_EQ(storeReal48(100.0L), bytes(0x87, 0, 0, 0, 0, 0x48));
    EXPECT_EQ(loadReal48(bytes(0x87, 0, 0, 0, 0, 0x48)), 100.0L);
}

TEST(Real48, RoundsDecimalFractionsToFortyBits) {
    EXPECT_EQ(seventeenDigits(roundReal48(0.1L)), "0.10000000000002274");
    EXPECT_EQ(seventeenDigits(roundReal48(0.0001L)), "9.9999999999988987e-05");
}

TEST(Real48, RoundsTiesAwayFromZero) {
    const long double half = std::ldexp(1.0L, -40);  // half of the last kept bit of 1.x
    EXPECT_EQ(roundReal48(1.0L + half), 1.0L + 2 * half);
    EXPECT_EQ(roundReal48(-(1.0L + half)), -(1.0L + 2 * half));
    EXPECT_EQ(roundReal48(1.0L + half / 2), 1.0L);
    EXPECT_EQ(roundReal48(1.0L + half + std::ldexp(1.0L, -63)), 1.0L + 2 * half);
    // A carry out of the significand raises the exponent.
    EXPECT_EQ(roundReal48(2.0L - std::ldexp(1.0L, -63)), 2.0L);
}

TEST(Real48, UnderflowBecomesPositiveZero) {
    const long double smallest = std::ldexp(1.0L, -128);
    EXPECT_EQ(loadReal48(storeReal48(smallest)), smallest);
    EXPECT_EQ(storeReal48(smallest / 2), Real48{});
    EXPECT_EQ(storeReal48(-smallest / 2), Real48{});
    EXPECT_EQ(storeReal48(-0.0L), Real48{});
    EXPECT_EQ(storeReal48(std::ldexp(1.0L, -16000)), Real48{});
    // Rounding up across the lower edge lands on the smallest value.
    EXPECT_EQ(roundReal48(smallest * (1.0L - std::ldexp(1.0L, -45))), smallest);
}

TEST(Real48, OverflowRaisesTheFloatingPointError) {
    const long double largest = (2.0L - std::ldexp(1.0L, -39)) * std::ldexp(1.0L, 126);
    EXPECT_EQ(roundReal48(largest), largest);
    EXPECT_THROW(storeReal48(std::ldexp(1.0L, 127)), FloatOverflowError);
    EXPECT_THROW(roundReal48(-std::ldexp(1.0L, 127)), FloatOverflowError);
    EXPECT_THROW(storeReal48(largest + std::ldexp(1.0L, 86)), FloatOverflowError);  // rounds up past the top
    EXPECT_THROW(storeReal48(HUGE_VALL), FloatOverflowError);
    EXPECT_THROW(storeReal48(NAN), FloatOverflowError);
    try {
        storeReal48(1e39L);
        FAIL();
    } catch (const FloatOverflowError& error) {
        EXPECT_STREQ(error.what(), "Überlauf bei Gleitkomma-Operation");
    }
}

TEST(Real48, ZeroExponentLoadsAsZeroWhateverTheFraction) {
    EXPECT_EQ(loadReal48(bytes(0, 0xff, 0x12, 0x34, 0x56, 0xff)), 0.0L);
    EXPECT_FALSE(std::signbit(loadReal48(bytes(0, 0, 0, 0, 0, 0x80))));
}

TEST(Real48, StoreAndLoadRoundTripEveryExponent) {
    for (int e = 1; e <= 255; ++e) {
        const Real48 r = bytes(static_cast<std::uint8_t>(e), 0x5a, 0xa5, 0x3c, 0xc3, 0x7e);
        EXPECT_EQ(storeReal48(loadReal48(r)), r) << e;
    }
}

// roundReal48 rounds in the FPU; storing reads the bits. The two must agree
// to the bit on every value, ties and both ends of the range included.
TEST(Real48, RoundingEqualsStoringAndLoading) {
    std::mt19937_64 random(48);
    for (int i = 0; i < 200'000; ++i) {
        std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        if (i % 3 == 1) significand = (significand & ~std::uint64_t{0xffffff}) | 0x800000;  // a tie
        if (i % 3 == 2) significand |= 0xffffffffff000000;                                 // a carry
        const int exponent = static_cast<int>(random() % 270) - 135;
        const long double value =
            std::ldexp(static_cast<long double>(significand), exponent - 63) * (i % 2 ? -1 : 1);
        long double viaBytes = 0.0L;
        bool overflow = false;
        try {
            viaBytes = loadReal48(storeReal48(value));
        } catch (const FloatOverflowError&) {
            overflow = true;
        }
        if (overflow) {
            EXPECT_THROW(roundReal48(value), FloatOverflowError) << static_cast<double>(value);
        } else {
            const long double rounded = roundReal48(value);
            EXPECT_EQ(std::memcmp(&rounded, &viaBytes, 10), 0) << static_cast<double>(value);
        }
    }
}

}  // namespace
}  // namespace isoquill
