// What the core tests share: the shipped element data, formulas parsed as the
// windows parse them, and exact comparisons of the results.
#pragma once

#include <string_view>

#include "chem/formula.h"
#include "isotope/peak.h"
#include "shipped_elements.h"

namespace isoquill::testing {

// `text` set, the table cleared and parsed against `table`.
Formula parsed(std::string_view text, const ElementTable& table = shippedElements());

// Entry by entry: symbol, element, count and count as typed.
bool sameFormulaTable(const FormulaTable& a, const FormulaTable& b);
// Peak by peak, masses and abundances bit for bit.
bool samePeaks(const PeakList& a, const PeakList& b);

}  // namespace isoquill::testing
