#include "plain_enumeration.h"

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

std::ostream& operator<<(std::ostream& out, const PlainCandidate& candidate) {
    return out << candidate.code << " @ " << static_cast<double>(loadReal48(candidate.mass));
}

std::vector<PlainCandidate> plainEnumeration(const FragmentState& state, const Formula& formula) {
    const long double target = loadReal48(state.targetMass);
    const long double tolerance = loadReal48(state.massTolerance);
    std::vector<PlainCandidate> previous, current;
    const auto addCandidate = [&](std::string code, long double mass) {
        if (mass < target + tolerance) current.push_back({std::move(code), storeReal48(mass)});
    };

    int elements = 0;
    while (elements < rangeRowCount && formula.formulaTable[elements].count > 0) ++elements;

    for (int k = state.rangeTable[0].von; k <= state.rangeTable[0].bis; ++k)
        addCandidate(std::to_string(k), loadReal48(state.countMasses[0][k]));
    previous = std::move(current);
    current = {};
    for (int e = 1; e < elements; ++e) {
        for (const PlainCandidate& p : previous) {
            for (int k = state.rangeTable[e].von; k <= state.rangeTable[e].bis; ++k)
                addCandidate(p.code + "." + std::to_string(k),
                             roundReal48(loadReal48(state.countMasses[e][k]) + loadReal48(p.mass)));
        }
        previous = std::move(current);
        current = {};
    }

    std::vector<PlainCandidate> result;
    for (PlainCandidate& candidate : previous) {
        if (roundReal48(std::fabs(loadReal48(candidate.mass) - target)) <= tolerance)
            result.push_back(std::move(candidate));
    }
    return result;
}

}  // namespace isoquill::testing
