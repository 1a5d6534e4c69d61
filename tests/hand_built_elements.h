// Element records built by hand, for the numbers the examples give rather
// than the shipped data.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "chem/element_table.h"

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
    for (const auto& [isotopeMass, abundance] : isotopes) {
        Isotope& isotope = ++j == 10 ? record.lastIsotope : record.slots[static_cast<std::size_t>(j - 1)].isotope;
        isotope = {storeReal48(isotopeMass), storeReal48(abundance)};
    }
    return record;
}

// A cleared table holding `records` at their numbers.
inline ElementTable tableWith(std::initializer_list<ElementRecord> records) {
    ElementTable table;
    clearElementTable(table);
    for (const ElementRecord& record : records) table[record.number] = record;
    return table;
}

// The two-isotope element of the worked examples: (12.0, 0.989), (13.00335, 0.011).
inline ElementRecord exampleCarbon() { return elementWith(" C", 6, {{12.0L, 0.989L}, {13.00335L, 0.011L}}, 12.011L); }

}  // namespace isoquill::testing
