// Writes the binary element data file "PSE.DAT" from the readable element
// table data/elements.csv (number,symbol,mass,isotopes; isotopes as
// space-separated mass:abundance pairs in ascending mass).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "chem/element_table.h"
#include "chem/number_text.h"

using namespace isoquill;

namespace {

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "make_element_file: " << message << '\n';
    std::exit(1);
}

void readRecord(const std::string& line, ElementTable& table) {
    std::istringstream fields(line);
    std::string number, symbol, mass, isotopes;
    std::getline(fields, number, ',');
    std::getline(fields, symbol, ',');
    std::getline(fields, mass, ',');
    std::getline(fields, isotopes);
    const int z = readInteger(number);
    if (z < 1 || z > lastFormulaElement || symbol.empty() || symbol.size() > 2) fail("bad line: " + line);
    ElementRecord& record = table[static_cast<std::size_t>(z)];
    record.symbol = Symbol::from(symbol.size() == 1 ? " " + symbol : symbol);
    record.number = static_cast<std::uint8_t>(z);
    record.mass = storeReal48(readNumber(mass));
    std::istringstream pairs(isotopes);
    std::string pair;
    int count = 0;
    while (pairs >> pair) {
        const auto colon = pair.find(':');
        if (colon == std::string::npos || ++count > 10) fail("bad isotopes: " + line);
        Isotope isotope{storeReal48(readNumber(pair.substr(0, colon))), storeReal48(readNumber(pair.substr(colon + 1)))};
        if (count == 10) record.lastIsotope = isotope;
        else record.slots[static_cast<std::size_t>(count - 1)].isotope = isotope;
    }
    record.isotopeCount = static_cast<std::uint8_t>(count);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("usage: make_element_file elements.csv PSE.DAT");
    std::ifstream csv(argv[1]);
    if (!csv) fail(std::string("cannot read ") + argv[1]);
    ElementTable table;
    clearElementTable(table);
    std::string line;
    std::getline(csv, line);  // header
    while (std::getline(csv, line))
        if (!line.empty()) readRecord(line, table);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(table.data()), sizeof table);
    if (!out) fail(std::string("cannot write ") + argv[2]);
    return 0;
}
