// What the core tests share: the shipped element data, records built by hand
// for the examples' numbers, formulas parsed as the windows parse them, and
// exact comparisons of the results.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "chem/formula.h"
#include "isotope/peak.h"
#include "shipped_elements.h"

namespace isoquill::testing {

// A record with the given isotopes (mass, abundance), each value rounded to Real48.
ElementRecord elementWith(std::string_view symbol, int number,
                          std::initializer_list<std::pair<long double, long double>> isotopes, long double mass = 0.0L);
// A cleared table holding `records` at their numbers.
ElementTable tableWith(std::initializer_list<ElementRecord> records);
// The two-isotope carbon of the worked examples: (12.0, 0.989), (13.00335, 0.011).
inline ElementRecord exampleCarbon() { return elementWith(" C", 6, {{12.0L, 0.989L}, {13.00335L, 0.011L}}, 12.011L); }

// `text` set, the table cleared and parsed against `table`.
Formula parsed(std::string_view text, const ElementTable& table = shippedElements());
// Entry by entry: symbol, element, count and count as typed.
bool sameFormulaTable(const FormulaTable& a, const FormulaTable& b);
// Peak by peak, masses and abundances bit for bit.
bool samePeaks(const PeakList& a, const PeakList& b);

}  // namespace isoquill::testing
