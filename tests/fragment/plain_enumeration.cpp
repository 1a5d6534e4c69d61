#include "plain_enumeration.h"

#include <algorithm>
#include <cmath>

#include "shipped_elements.h"

namespace isoquill::testing {

FragmentState prepared(const Formula& formula, const Ranges& ranges, long double target, long double tolerance) {
    FragmentState state;
    initRanges(state, formula, shippedElements());
    for (std::size_t i = 0; i < ranges.size(); ++i)
        setRangeCounts(state, int(i) + 1, ranges[i].first, ranges[i].second);
    state.targetMass = storeReal48(target);
    state.massTolerance = storeReal48(tolerance);
    initCountMasses(state, formula);
    return state;
}

std::vector<PlainCandidate> plainEnumeration(const FragmentState& state, const Formula& formula) {
    const long double target = loadReal48(state.targetMass);
    long double tolerance = loadReal48(state.massTolerance);
    if (state.toleranceUnit == ToleranceUnit::ppm) tolerance = roundReal48(target * tolerance / 1'000'000);
    int elements = 0;
    while (elements < rangeRowCount && formula.formulaTable[elements].count > 0) ++elements;
    // Row 1 is tried even without an entry; its codes have no leading dot.
    // An ion lacks (or carries) its charge's electrons from the start.
    std::vector<PlainCandidate> previous = {{"", storeReal48(state.ionCharge * -0.000548579909L)}};
    for (int e = 0; e < std::max(elements, 1); ++e) {
        std::vector<PlainCandidate> current;
        for (const PlainCandidate& p : previous) {
            for (int k = state.rangeTable[e].von; k <= state.rangeTable[e].bis; ++k) {
                const long double mass = roundReal48(loadReal48(state.countMasses[e][k]) + loadReal48(p.mass));
                if (mass < target + tolerance)
                    current.push_back({(e ? p.code + "." : "") + std::to_string(k), storeReal48(mass)});
            }
        }
        previous = std::move(current);
    }
    std::erase_if(previous, [&](const PlainCandidate& candidate) {
        return !(roundReal48(std::fabs(loadReal48(candidate.mass) - target)) <= tolerance);
    });
    return previous;
}

std::vector<PlainCandidate> enumerated(FragmentState& state, const Formula& formula) {
    buildCandidates(state, formula);
    filterByTolerance(state);
    std::vector<PlainCandidate> result;
    for (const Candidate& c : state.candidateList) result.push_back({countCode(c, state.codeFields), c.mass});
    return result;
}

}  // namespace isoquill::testing
