#include "core_fixture.h"

#include <algorithm>

namespace isoquill::testing {

ElementRecord elementWith(std::string_view symbol, int number,
                          std::initializer_list<std::pair<long double, long double>> isotopes, long double mass) {
    ElementRecord record;
    record.symbol = Symbol::from(symbol);
    record.number = static_cast<std::uint8_t>(number);
    record.mass = storeReal48(mass);
    record.isotopeCount = static_cast<std::uint8_t>(isotopes.size());
    int j = 0;
    for (const auto& [isotopeMass, abundance] : isotopes) {
        Isotope& isotope = ++j == 10 ? record.lastIsotope : record.slots[static_cast<std::size_t>(j - 1)].isotope;
        isotope = {storeReal48(isotopeMass), storeReal48(abundance)};
    }
    return record;
}

ElementTable tableWith(std::initializer_list<ElementRecord> records) {
    ElementTable table;
    clearElementTable(table);
    for (const ElementRecord& record : records) table[record.number] = record;
    return table;
}

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
