// The 6-byte real in which every stored real of the system is held.
// Arithmetic runs in 80-bit long double; a value is widened on load and
// rounded on store, and that rounding is part of every result.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

// roundReal48 splits values in the FPU and tests them for infinity and NaN;
// fast-math would fold the split away and the tests with it.
static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64,
              "the arithmetic needs the x87 80-bit extended format");
#if defined(__FAST_MATH__)
#error "Real48 rounding cannot be compiled with -ffast-math: it relies on exact IEEE operations"
#elif defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "Real48 rounding cannot be compiled with -ffinite-math-only: it must see infinities and NaNs"
#elif defined(__NO_SIGNED_ZEROS__)
#error "Real48 rounding cannot be compiled with -funsafe-math-optimizations or -fno-signed-zeros"
#endif

namespace isoquill {

// Byte 0: exponent biased by 129 (0 means zero); bytes 1..5: 39 fraction
// bits, least significant first; bit 7 of byte 5: the sign.
struct Real48 {
    std::array<std::uint8_t, 6> bytes{};

    bool isZero() const { return bytes[0] == 0; }
    friend bool operator==(const Real48&, const Real48&) = default;
};
static_assert(sizeof(Real48) == 6 && alignof(Real48) == 1);

// The runtime's floating-point overflow error, raised by storeReal48.
class FloatOverflowError : public std::runtime_error {
public:
    FloatOverflowError();
};

// Exact: every Real48 is a long double. Byte 0 of 0 gives +0.0 whatever the rest holds.
long double loadReal48(const Real48& value);

// Rounds to 40 significand bits, ties away from zero. Magnitudes below 2^-128
// (and zero) give six zero bytes; magnitudes above the range, infinities and
// NaNs raise FloatOverflowError.
Real48 storeReal48(long double value);

// loadReal48(storeReal48(value)): the rounding applied wherever a value is stored.
// Done in the FPU, without the trip through memory that reading the bits
// takes: the simulation rounds twice for every pair of peaks it combines.
inline long double roundReal48(long double value) {
    // Veltkamp's split: hi is value rounded to the nearest 40-bit significand
    // (64 - 24 bits), lo = value - hi exactly; only the tie rule is left open.
    constexpr long double splitter = 16777217.0L;  // 2^24 + 1
    const long double scaled = value * splitter;
    const long double hi = scaled - (scaled - value);
    const long double lo = value - hi;
    // On a tie, hi and hi + 2 lo are the two 40-bit neighbours of value, and
    // the one farther from zero wins. Otherwise hi + 2 lo is no 40-bit number.
    const long double other = hi + lo + lo;
    const long double scaledOther = other * splitter;
    const bool tie = lo != 0.0L && scaledOther - (scaledOther - other) == other;
    const long double rounded = tie && (lo > 0.0L) == (hi > 0.0L) ? other : hi;
    const long double magnitude = rounded < 0.0L ? -rounded : rounded;
    if (!(magnitude < 0x1p127L)) throw FloatOverflowError();  // infinities and NaNs too
    return magnitude < 0x1p-128L ? 0.0L : rounded;
}

}  // namespace isoquill
