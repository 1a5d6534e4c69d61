// Number texts: how every real and integer is written into a field or cell,
// and how every typed number is read. Independent of the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace isoquill {

// Fixed-point text of the exact binary value, rounded to `decimals` places
// with ties away from zero, "." as decimal point, a minus sign for negative
// values, left-padded with blanks to `width` and never cut.
std::string formatReal(long double value, int width, int decimals);

// Decimal text of an integer, left-padded with blanks to `width`.
std::string formatInteger(std::int64_t value, int width);

// The shortest decimal text, with "." and without exponent, that reads back
// to exactly `value` as a double (Real48 values are all exact doubles): the
// full precision that saved tables and the command-line tool write.
std::string exactNumberText(double value);
void appendExactNumber(std::string& text, double value);

// The value of the longest valid decimal number at the start of `text`
// (leading blanks and a sign allowed, optional fraction and exponent; "." or
// a decimal comma as the decimal point, as German users type it): "12x"
// gives 12, "1,5" gives 1.5, "1.2.3" and "1.2,3" give 1.2. A text without
// such a number gives 0; nothing is ever reported. Too large gives infinity.
long double readNumber(std::string_view text);

// The longest integer at the start of `text` (leading blanks and a sign
// allowed), saturated to the signed 32-bit range; 0 when there is none.
std::int32_t readInteger(std::string_view text);

}  // namespace isoquill
