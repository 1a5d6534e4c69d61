// Observed peaks written and read as plain numbers, for the tests of the
// comparison and of what runs it.
#pragma once

#include <utility>
#include <vector>

#include "compare/compare_chain.h"

namespace isoquill::testing {

using PeakValues = std::vector<std::pair<long double, long double>>;  // mass, abundance

// Slots filled in the order given, each abundance as a Real48 holds it.
inline ObservedPeaks observedOf(const PeakValues& peaks) {
    ObservedPeaks observed;
    for (auto [mass, abundance] : peaks)
        observed.observedPeaks[observed.observedNext++] = {storeReal48(mass), roundReal48(abundance)};
    return observed;
}

// A fresh state that has only `observed`, by default glucose as a spectrum shows it.
inline CompareState observing(const ObservedPeaks& observed = observedOf({{180, 100}, {181, 6.6L}, {182, 1.2L}})) {
    CompareState state;
    state.observed = observed;
    return state;
}

inline PeakValues valuesOf(const ObservedPeaks& observed) {
    PeakValues values;
    for (int i = 1; i <= observed.count(); ++i)
        values.emplace_back(loadReal48(observed.observedPeaks[i].mass), observed.observedPeaks[i].abundance);
    return values;
}

}  // namespace isoquill::testing
