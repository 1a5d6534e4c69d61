#include "synthetic_candidates.h"

#include <random>

#include "fragment/enumeration.h"
#include "fragment/plain_enumeration.h"
#include "shipped_elements.h"

namespace isoquill::benchmarks {

ResultTable syntheticCandidates() {
    Formula formula;
    setFormulaText(formula, "CHNOS");
    clearFormula(formula);
    parseFormula(formula, testing::shippedElements());
    FragmentState fragment =
        testing::prepared(formula, {{0, 200}, {0, 200}, {0, 30}, {0, 40}, {0, 5}}, 1000.0L, 8.5L);
    buildCandidates(fragment, formula);
    filterByTolerance(fragment);
    std::mt19937 random(11);
    std::exponential_distribution<double> error(1.0 / 400.0);
    for (Candidate& candidate : fragment.candidateList) candidate.error = storeReal48(error(random));
    return ausgebenRows(fragment, formula);
}

}  // namespace isoquill::benchmarks
