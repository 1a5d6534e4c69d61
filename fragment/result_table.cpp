#include "fragment/result_table.h"

#include <cmath>

#include "chem/count_code.h"
#include "chem/number_text.h"

namespace isoquill {

long double candidateDeviation(const Candidate& candidate, long double target) {
    return roundReal48(loadReal48(candidate.mass) - target);
}

bool runCodesComplete(const FragmentState& fragment, const Formula& formula) {
    return isCompleteCountCode(countCode(Candidate{}, fragment.codeFields), formula);
}

ResultTable ausgebenRows(FragmentState& fragment, const Formula& formula) {
    ResultTable table;
    table.candidateCount = fragment.candidateList.size();
    table.formula = formula;
    table.codeFields = fragment.codeFields;
    table.targetMass = fragment.targetMass;
    table.rows = std::move(fragment.candidateList);
    fragment.candidateList = std::vector<Candidate>();
    const long double target = loadReal48(fragment.targetMass);
    if (!runCodesComplete(fragment, formula)) table.rows = std::vector<Candidate>();
    std::erase_if(table.rows,
                  [target](const Candidate& c) { return !(std::fabs(candidateDeviation(c, target)) < target); });
    return table;
}

ResultRow resultRowTexts(const ResultTable& table, std::size_t row) {
    const Candidate& candidate = table.rows[row];
    const long double mass = loadReal48(candidate.mass);
    return {formatReal(mass, 9, 3) + " : ",
            formatReal(candidateDeviation(candidate, loadReal48(table.targetMass)), 5, 2) + " : ",
            formatReal(loadReal48(candidate.error), 4, 1),
            countCodeToFormula(countCode(candidate, table.codeFields), table.formula)};
}

}  // namespace isoquill
