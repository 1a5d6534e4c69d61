// The comparison chain that every page runs: formula text -> parse -> mass ->
// simulation -> alignment with the observed peaks -> least-square error.
// It runs on every keystroke and once per fragment candidate.
#pragma once

#include <optional>
#include <string_view>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "compare/comparison.h"
#include "compare/observed_peaks.h"
#include "isotope/peak_group.h"

namespace isoquill {

// The program-wide tables of the Compare page and the shared formula.
struct CompareState {
    Formula formula;
    Simulation simulation;
    ObservedPeaks observed;
    Comparison comparison;
    MissingDataNotice showMissingData;  // may be empty
};

// Copies `text` (cut to 60 characters) into formulaText, clears the formula,
// and when the syntax check accepts it: parses, computes the mass, simulates
// into simPeaks, aligns and returns the least-square error (a Real48 value).
// Returns nothing when the syntax check refuses the text; the earlier
// simulation and comparison results then stay as they were.
std::optional<long double> runComparisonChain(CompareState& state, const ElementTable& elementTable, std::string_view text);

// The chain from a parsed formula table on: mass, simulation, alignment; the
// least-square error.
long double compareParsedFormula(CompareState& state, const ElementTable& elementTable);

}  // namespace isoquill
