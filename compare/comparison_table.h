// The texts of the comparison table StringGrid4: the header row, one data row
// per aligned mass step, and the least-square error in the row after them.
#pragma once

#include <array>
#include <string>

#include "chem/real48.h"
#include "compare/comparison.h"

namespace isoquill {

constexpr int comparisonColumnCount = 6;
using ComparisonRow = std::array<std::string, comparisonColumnCount>;

// Rows of the table, header included: 22 for up to 20 aligned rows, else
// rowCount + 2, so that every aligned row and the error row have a place.
int comparisonTableRowCount(int rowCount);

// "Exp.", the observed mean mass, column 2 empty, "Sim.", the formula mass, "Diff.".
ComparisonRow comparisonHeaderRow(const Comparison& comparison, const Real48& formulaMass);

// The numbers of data row r (1..rowCount) that its texts show; an empty
// aligned slot gives 0.0, the difference is rounded to Real48.
struct ComparisonRowValues {
    long double observedMass, observedAbundance, simulatedMass, simulatedAbundance, difference;
};
ComparisonRowValues comparisonRowValues(const Comparison& comparison, int r);

// Data row r (1..rowCount): row number cut to 2 characters, then observed mass
// and abundance, simulated mass and abundance, and their difference rounded
// to Real48; each text cut to 12 characters. An empty aligned slot shows 0.0.
ComparisonRow comparisonDataRow(const Comparison& comparison, int r);

// Column 5 of row rowCount + 1: the error, 2 decimals in 7, cut to 12 characters.
std::string comparisonErrorText(long double error);

}  // namespace isoquill
