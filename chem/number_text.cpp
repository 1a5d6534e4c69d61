#include "chem/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace isoquill {

namespace {

std::string padLeft(std::string text, int width) {
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string printFixed(long double magnitude, int decimals) {
    // One conversion for every text that fits: copying a million result rows
    // formats three numbers each.
    char buffer[64];
    const int size = std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, magnitude);
    if (size < static_cast<int>(sizeof buffer)) return std::string(buffer, static_cast<std::size_t>(size));
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*Lf", decimals, magnitude);
    return text;
}

// True when the magnitude lies exactly halfway between two numbers of
// `decimals` places: its lowest set bit then has the weight 2^-(decimals+1).
bool isDecimalTie(long double magnitude, int decimals) {
    if (magnitude == 0.0L) return false;
    int exponent = 0;
    long double significand = std::frexp(magnitude, &exponent);  // in [0.5, 1)
    // scale the 64-bit significand to an integer and find its lowest set bit
    auto bits = static_cast<std::uint64_t>(std::ldexp(significand, 64));
    const int lowest = __builtin_ctzll(bits);
    return exponent - 64 + lowest == -(decimals + 1);
}

// Increments a digit string such as "12.34" in its last place ("12.35", "99.9" -> "100.0").
std::string incrementLastDigit(std::string digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.') continue;
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

}  // namespace

std::string formatReal(long double value, int width, int decimals) {
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) return padLeft(std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF"), width);
    const bool negative = value < 0.0L;
    const long double magnitude = std::fabs(value);
    std::string digits;
    if (isDecimalTie(magnitude, decimals)) {
        // The exact value has decimals+1 places ending in 5: print it whole, round up.
        digits = printFixed(magnitude, decimals + 1);
        digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
        digits = incrementLastDigit(digits);
    } else {
        digits = printFixed(magnitude, decimals);
    }
    return padLeft(negative ? "-" + digits : digits, width);
}

std::string formatInteger(std::int64_t value, int width) {
    return padLeft(std::to_string(value), width);
}

long double readNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t integerStart = i;
    i = skipDigits(text, i);
    bool hasDigits = i > integerStart;
    const std::size_t point = i;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        const std::size_t fractionStart = i + 1;
        const std::size_t fractionEnd = skipDigits(text, fractionStart);
        if (hasDigits || fractionEnd > fractionStart) {
            hasDigits = true;
            i = fractionEnd;
        }
    }
    if (!hasDigits) return 0.0L;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t exponentEnd = skipDigits(text, j);
        if (exponentEnd > j) i = exponentEnd;
    }
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    std::string number(text.substr(start, i - start));
    if (point < i && text[point] == ',') number[point - start] = '.';
    return strtold_l(number.c_str(), nullptr, cLocale);
}

std::int32_t readInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value > limit - 1 ? limit - 1 : value);
}

// Fixed notation of the widest Real48 or the smallest takes about 60 characters.
void appendExactNumber(std::string& text, double value) {
    std::array<char, 400> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    text.append(buffer.data(), result.ptr);
}

std::string exactNumberText(double value) {
    std::string text;
    appendExactNumber(text, value);
    return text;
}

}  // namespace isoquill
