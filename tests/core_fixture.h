// What the core tests share: the shipped element data, records built by hand
// for the examples' numbers, formulas parsed as the windows parse them, and
// exact comparisons of the results.
#pragma once

#include <algorithm>
#include <utility>

#include "chem/formula.h"
#include "isotope/peak.h"
#include "shipped_elements.h"

namespace isoquill::testing {

// A record with the given isotopes (mass, abundance), each value rounded to Real48.
inline ElementRecord elementWith(std::string_view symbol, int number,
                                 std::initializer_list<std::pair<long double, long double>> isotopes,
                                 long double mass = 0.0L) {
    ElementRecord record;
    record.symbol = Symbol::from(symbol);
    record.number = static_cast<std::uint8_t>(number);
    record.mass = storeReal48(mass);
    record.isotopeCount = static_cast<std::uint8_t>(isotopes.size());
    int j = 0;
    for (const auto& [isotopeMass, abundance] : isotopes)
        const_cast<Isotope&>(record.isotope(++j)) = {storeReal48(isotopeMass), storeReal48(abundance)};
    return record;
}

// A cleared table holding `records` at their numbers.
inline ElementTable tableWith(std::initializer_list<ElementRecord> records) {
    ElementTable table;
    clearElementTable(table);
    for (const ElementRecord& record : records) table[record.number] = record;
    return table;
}

// The two-isotope carbon of the worked examples: (12.0, 0.989), (13.00335, 0.011).
inline ElementRecord exampleCarbon() { return elementWith(" C", 6, {{12.0L, 0.989L}, {13.00335L, 0.011L}}, 12.011L); }

// `text` set, the table cleared and parsed against `table`.
inline Formula parsed(std::string_view text, const ElementTable& table = shippedElements()) {
    Formula formula;
    setFormulaText(formula, text);
    clearFormula(formula);
    parseFormula(formula, table);
    return formula;
}

// Entry by entry: symbol, element, count and count as typed.
inline bool sameFormulaTable(const FormulaTable& a, const FormulaTable& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const FormulaEntry& x, const FormulaEntry& y) {
        return x.symbol == y.symbol && x.element == y.element && x.count == y.count && x.countReal == y.countReal;
    });
}

// Peak by peak, masses and abundances bit for bit.
inline bool samePeaks(const PeakList& a, const PeakList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Peak& x, const Peak& y) { return x.mass == y.mass && x.abundance == y.abundance; });
}

}  // namespace isoquill::testing
