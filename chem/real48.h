// The 6-byte real in which every stored real of the system is held.
// Arithmetic runs in 80-bit long double; a value is widened on load and
// rounded on store, and that rounding is part of every result.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

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
long double roundReal48(long double value);

}  // namespace isoquill
