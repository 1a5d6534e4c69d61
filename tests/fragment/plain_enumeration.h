// The candidate enumeration exactly as the system describes it: element by
// element over whole lists of partial candidates with their codes as text,
// no pruning from below, then the tolerance filter. Slow on purpose: it is
// the reference for the tests and the baseline for the benchmark.
#pragma once

#include "fragment/enumeration.h"

namespace isoquill::testing {

struct PlainCandidate {
    std::string code;
    Real48 mass;
    friend bool operator==(const PlainCandidate&, const PlainCandidate&) = default;
};

// The result list for the state's rangeTable, countMasses, targetMass,
// massTolerance, toleranceUnit and ionCharge; rows must hold counts within 0..200.
std::vector<PlainCandidate> plainEnumeration(const FragmentState& state, const Formula& formula);

using Ranges = std::vector<std::pair<std::int32_t, std::int32_t>>;  // von, bis of rows 1..

// A run as "Generate" sets it up: the formula's rows, their counts, the search parameters, the count masses.
FragmentState prepared(const Formula& formula, const Ranges& ranges, long double target, long double tolerance);

// The same list from the program's own search and tolerance filter, to set beside it.
std::vector<PlainCandidate> enumerated(FragmentState& state, const Formula& formula);

}  // namespace isoquill::testing
