#include "compare/compare_chain.h"

namespace isoquill {

std::optional<long double> runComparisonChain(CompareState& state, const ElementTable& elementTable, std::string_view text) {
    setFormulaText(state.formula, text);
    clearFormula(state.formula);
    if (checkFormulaSyntax(state.formula) != 0) return std::nullopt;
    parseFormula(state.formula, elementTable);
    return compareParsedFormula(state, elementTable);
}

long double compareParsedFormula(CompareState& state, const ElementTable& elementTable) {
    computeFormulaMass(state.formula, elementTable);
    simulatePeakGroup(state.simulation, state.formula, elementTable, state.showMissingData);
    alignPeakGroups(state.comparison, state.observed, state.simulation.simPeaks);
    return squaredErrorSum(state.comparison);
}

}  // namespace isoquill
