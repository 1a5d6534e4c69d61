// Scoring of the fragment candidates against the observed peaks through the
// comparison chain, the texts of the result grid rows, and the order of the
// two within "Generate".
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "compare/compare_chain.h"
#include "fragment/enumeration.h"

namespace isoquill {

using ResultRow = std::array<std::string, 4>;

// The last comparison that scoring ran: the only one the Compare page's table
// and plot could ever show. `error` is empty when the syntax check refused
// the candidate's formula.
struct LastComparison {
    bool ran = false;
    std::optional<long double> error;
};

struct ResultRows {
    std::size_t candidateCount = 0;  // the grid's row count (it keeps at least one row)
    std::vector<ResultRow> rows;     // rows written from row 0 on; the rest stay blank
    LastComparison lastComparison;
};

// For each candidate in list order: formulaTable := backup; a complete code
// becomes a plain formula such as C6H12O6, the comparison chain runs on it and
// its least-square error is stored as the candidate's error. Incomplete codes
// keep error 0. Afterwards `compare` holds the last scored candidate's formula
// text and results; formulaTable is the backup's only when the last candidate
// was skipped.
LastComparison scoreCandidates(FragmentState& fragment, CompareState& compare, const ElementTable& elementTable,
                               const FormulaTable& backup);

// The rows ausgeben writes: mass (9, 3 decimals) + " : ", deviation from the
// target rounded to Real48 (5, 2) + " : ", error (4, 1), formula text. Only
// candidates whose |deviation| is strictly below targetMass and whose code is
// complete for `formula` are written.
ResultRows ausgebenRows(const FragmentState& fragment, const Formula& formula);

// "Generate" once the range rows are taken: count masses, enumeration,
// tolerance filter; scoring when the observed mean mass is above 0; the
// formula table restored; the result rows; the candidate lists released.
// On an error (too many candidates, or one raised by a comparison) the
// formula table is restored and nothing is kept.
ResultRows generateCandidates(FragmentState& fragment, CompareState& compare, const ElementTable& elementTable);

}  // namespace isoquill
