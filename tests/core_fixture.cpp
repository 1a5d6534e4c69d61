#include "core_fixture.h"

#include <algorithm>

namespace isoquill::testing {

Formula parsed(std::string_view text, const ElementTable& table) {
    Formula formula;
    setFormulaText(formula, text);
    clearFormula(formula);
    parseFormula(formula, table);
    return formula;
}

bool sameFormulaTable(const FormulaTable& a, const FormulaTable& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const FormulaEntry& x, const FormulaEntry& y) {
        return x.symbol == y.symbol && x.element == y.element && x.count == y.count && x.countReal == y.countReal;
    });
}

bool samePeaks(const PeakList& a, const PeakList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Peak& x, const Peak& y) { return x.mass == y.mass && x.abundance == y.abundance; });
}

}  // namespace isoquill::testing
