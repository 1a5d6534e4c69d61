#include "chem/real48.h"

#include <cstring>

namespace isoquill {

namespace {

constexpr int extendedBias = 16383;
constexpr int real48Bias = 129;
constexpr int biasDifference = extendedBias - real48Bias;  // 16254
constexpr std::uint64_t fractionMask = (std::uint64_t{1} << 39) - 1;

struct Extended {
    std::uint64_t significand;  // explicit leading bit at 63
    std::uint16_t signAndExponent;
};

Extended split(long double value) {
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &value, sizeof raw);
    Extended x;
    std::memcpy(&x.significand, raw, 8);
    std::memcpy(&x.signAndExponent, raw + 8, 2);
    return x;
}

long double join(std::uint64_t significand, unsigned exponent, bool negative) {
    unsigned char raw[sizeof(long double)] = {};
    std::uint16_t signAndExponent = static_cast<std::uint16_t>(exponent | (negative ? 0x8000u : 0u));
    std::memcpy(raw, &significand, 8);
    std::memcpy(raw + 8, &signAndExponent, 2);
    long double value;
    std::memcpy(&value, raw, sizeof value);
    return value;
}

// The rounded 40-bit significand (leading bit at 39) and the Real48 exponent;
// exponent <= 0 means the value becomes zero.
struct Rounded {
    std::uint64_t significand;
    int exponent;
    bool negative;
};

Rounded round40(long double value) {
    const Extended x = split(value);
    std::uint64_t kept = x.significand >> 24;
    int exponent = static_cast<int>(x.signAndExponent & 0x7fff);
    if ((x.significand >> 23) & 1) {
        ++kept;
        if (kept == (std::uint64_t{1} << 40)) {
            kept = std::uint64_t{1} << 39;
            ++exponent;
        }
    }
    const bool negative = (x.signAndExponent & 0x8000) != 0;
    // A zero or denormal extended value has no leading bit: it is below the range.
    if ((kept >> 39) == 0) return {0, 0, negative};
    return {kept, exponent - biasDifference, negative};
}

}  // namespace

FloatOverflowError::FloatOverflowError()
    : std::runtime_error("Überlauf bei Gleitkomma-Operation") {}

long double loadReal48(const Real48& value) {
    const auto& b = value.bytes;
    if (b[0] == 0) return 0.0L;
    std::uint64_t fraction = 0;
    for (int i = 5; i >= 1; --i) fraction = (fraction << 8) | b[i];
    const bool negative = (fraction >> 39) & 1;
    fraction &= fractionMask;
    const std::uint64_t significand = (std::uint64_t{1} << 63) | (fraction << 24);
    return join(significand, static_cast<unsigned>(b[0] + biasDifference), negative);
}

Real48 storeReal48(long double value) {
    const Rounded r = round40(value);
    Real48 result;
    if (r.exponent <= 0) return result;
    if (r.exponent > 255) throw FloatOverflowError();
    std::uint64_t fraction = r.significand & fractionMask;
    if (r.negative) fraction |= std::uint64_t{1} << 39;
    result.bytes[0] = static_cast<std::uint8_t>(r.exponent);
    for (int i = 1; i <= 5; ++i) {
        result.bytes[i] = static_cast<std::uint8_t>(fraction & 0xff);
        fraction >>= 8;
    }
    return result;
}

}  // namespace isoquill
