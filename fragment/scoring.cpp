#include "fragment/scoring.h"

#include <algorithm>
#include <cmath>

#include "chem/count_code.h"
#include "chem/number_text.h"

namespace isoquill {

LastComparison scoreCandidates(FragmentState& fragment, CompareState& compare, const ElementTable& elementTable,
                               const FormulaTable& backup) {
    LastComparison last;
    for (Candidate& candidate : fragment.candidateList) {
        compare.formula.formulaTable = backup;
        if (!isCompleteCountCode(candidate.code, compare.formula)) continue;
        std::string text = countCodeToFormula(candidate.code, compare.formula);
        std::erase(text, ' ');
        // A refused text leaves the previous comparison in place, and so its error.
        last = {true, runComparisonChain(compare, elementTable, text)};
        candidate.error = storeReal48(last.error ? *last.error : squaredErrorSum(compare.comparison));
    }
    return last;
}

ResultRows ausgebenRows(const FragmentState& fragment, const Formula& formula) {
    const long double target = loadReal48(fragment.targetMass);
    ResultRows result;
    result.candidateCount = fragment.candidateList.size();
    for (const Candidate& candidate : fragment.candidateList) {
        const long double mass = loadReal48(candidate.mass);
        const long double deviation = roundReal48(mass - target);
        if (!(std::fabs(deviation) < target) || !isCompleteCountCode(candidate.code, formula)) continue;
        result.rows.push_back({formatReal(mass, 9, 3) + " : ", formatReal(deviation, 5, 2) + " : ",
                               formatReal(loadReal48(candidate.error), 4, 1),
                               countCodeToFormula(candidate.code, formula)});
    }
    return result;
}

ResultRows generateCandidates(FragmentState& fragment, CompareState& compare, const ElementTable& elementTable) {
    initCountMasses(fragment, compare.formula);
    buildCandidates(fragment, compare.formula);
    filterByTolerance(fragment);
    const FormulaTable backup = compare.formula.formulaTable;
    LastComparison last;
    try {
        if (loadReal48(compare.comparison.observedMeanMass) > 0.0L)
            last = scoreCandidates(fragment, compare, elementTable, backup);
    } catch (...) {
        compare.formula.formulaTable = backup;
        freeCandidateLists(fragment);
        throw;
    }
    compare.formula.formulaTable = backup;
    ResultRows rows = ausgebenRows(fragment, compare.formula);
    rows.lastComparison = last;
    freeCandidateLists(fragment);
    return rows;
}

}  // namespace isoquill
