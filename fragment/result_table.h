// The result list as the result grid shows it: the candidates ausgeben
// writes, kept as numbers, and the texts of a row made when they are needed.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "chem/formula.h"
#include "fragment/enumeration.h"

namespace isoquill {

using ResultRow = std::array<std::string, 4>;

struct ResultTable {
    std::size_t candidateCount = 0;  // the grid's row count (it keeps at least one row)
    std::vector<Candidate> rows;     // the written candidates, rows 0.. of the grid; the rest stay blank
    Formula formula;                 // the formula whose symbols the codes name
    int codeFields = 0;
    Real48 targetMass;
};

// True when every code of the run is complete for `formula`: all of a run's
// codes have the same number of fields and none starts with ".".
bool runCodesComplete(const FragmentState& fragment, const Formula& formula);

// The rows ausgeben writes, taken out of candidateList (which is left empty):
// only candidates whose |deviation| from the target, rounded to Real48, is
// strictly below targetMass and whose code is complete for `formula`.
ResultTable ausgebenRows(FragmentState& fragment, const Formula& formula);

// The candidate's deviation from `target`: mass - target rounded to Real48.
long double candidateDeviation(const Candidate& candidate, long double target);

// Row `row` of table.rows as ausgeben writes it: mass (9, 3 decimals) + " : ",
// deviation (5, 2) + " : ", error (4, 1), formula text with its blanks.
ResultRow resultRowTexts(const ResultTable& table, std::size_t row);

}  // namespace isoquill
