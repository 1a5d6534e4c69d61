#include "chem/real48.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

namespace isoquill::testing {

// Row by row: the FPU rounding and the bytes stored (that loading them gives
// the rounded value, the next test checks on every value).
TEST(Real48, RoundsToFortyBitsTiesAwayFromZeroStoresTheDocumentedBytesAndRaisesAboveTheRange) {
    const long double half = 0x1p-40L, smallest = 0x1p-128L, largest = 0x1.fffffffffep126L;
    const struct { long double value, rounded; Real48 bytes; } cases[] = {
        {1.0L, 1.0L, {{0x81, 0, 0, 0, 0, 0x00}}}, {-1.0L, -1.0L, {{0x81, 0, 0, 0, 0, 0x80}}},
        {100.0L, 100.0L, {{0x87, 0, 0, 0, 0, 0x48}}}, {-0.0L, 0, {}}, {-0x1p-129L, 0, {}}, {0x1p-16000L, 0, {}},
        {0.1L, 0x1.999999999ap-4L, {{0x7d, 0xcd, 0xcc, 0xcc, 0xcc, 0x4c}}},
        {0.0001L, 0x1.a36e2eb1c4p-14L, {{0x73, 0xe2, 0x58, 0x17, 0xb7, 0x51}}},
        {1 + half, 1 + 2 * half, {{0x81, 1, 0, 0, 0, 0}}}, {-(1 + half), -(1 + 2 * half), {{0x81, 1, 0, 0, 0, 0x80}}},
        {1 + half / 2, 1, {{0x81, 0, 0, 0, 0, 0}}}, {1 + half + 0x1p-63L, 1 + 2 * half, {{0x81, 1, 0, 0, 0, 0}}},
        {2 - 0x1p-63L, 2, {{0x82, 0, 0, 0, 0, 0}}},  // the carry out of the significand raises the exponent
        {smallest, smallest, {{1, 0, 0, 0, 0, 0}}}, {smallest / 2, 0, {}}, {-smallest / 2, 0, {}},
        {smallest * (1 - 0x1p-45L), smallest, {{1, 0, 0, 0, 0, 0}}},
        {largest, largest, {{0xff, 0xff, 0xff, 0xff, 0xff, 0x7f}}},
        // 80-bit subnormals and the smallest normal value lie far below the range.
        {0x1p-16445L, 0, {}}, {-0x1p-16445L, 0, {}}, {0x1.fffffffffffffffep-16383L, 0, {}}, {LDBL_MIN, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundReal48(c.value), c.rounded) << static_cast<double>(c.value);
        EXPECT_EQ(storeReal48(c.value), c.bytes) << static_cast<double>(c.value);
    }
    for (long double value : {0x1p127L, -0x1p127L, largest + 0x1p86L, LDBL_MAX, -LDBL_MAX, HUGE_VALL, -HUGE_VALL,
                              static_cast<long double>(NAN), -static_cast<long double>(NAN)}) {
        EXPECT_THROW(storeReal48(value), FloatOverflowError) << static_cast<double>(value);
        EXPECT_THROW(roundReal48(value), FloatOverflowError) << static_cast<double>(value);
    }
}

// roundReal48 rounds in the FPU; storing reads the bits. The two must agree
// to the bit on every value, ties and both ends of the range included, and
// on every fifth value over the whole extended range, subnormals included.
TEST(Real48, RoundingEqualsStoringAndLoading) {
    std::mt19937_64 random(48);
    for (int i = 0; i < 200'000; ++i) {
        std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        if (i % 3 == 1) significand = (significand & ~std::uint64_t{0xffffff}) | 0x800000;  // a tie
        if (i % 3 == 2) significand |= 0xffffffffff000000;                                 // a carry
        const int exponent = i % 5 == 4 ? static_cast<int>(random() % 32830) - 16446  // 2^-16446 .. 2^16383
                                        : static_cast<int>(random() % 270) - 135;
        const long double value = std::ldexp(static_cast<long double>(significand), exponent - 63) * (i % 2 ? -1 : 1);
        long double viaBytes;
        try {
            viaBytes = loadReal48(storeReal48(value));
        } catch (const FloatOverflowError&) {
            EXPECT_THROW(roundReal48(value), FloatOverflowError) << static_cast<double>(value);
            continue;
        }
        const long double rounded = roundReal48(value);
        EXPECT_EQ(std::memcmp(&rounded, &viaBytes, 10), 0) << static_cast<double>(value);
    }
}

}  // namespace isoquill::testing
