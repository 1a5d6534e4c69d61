// Invariant checks shared by the fuzz targets: a violated invariant aborts,
// so libFuzzer reports it as a finding with the input that caused it.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "compare/comparison.h"
#include "isotope/peak.h"

namespace isoquill::fuzz {

inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

// A simulated group: no zero mass inside, abundances finite and at most 100
// (up to the rounding of the base peak to Real48), and ascending where the
// element data list their isotopes in ascending mass.
inline void checkSimulatedGroup(const PeakList& simPeaks, bool ascendingData) {
    long double previous = -INFINITY;
    for (const Peak& peak : simPeaks) {
        const long double mass = loadReal48(peak.mass);
        require(mass != 0.0L, "zero mass inside a peak list");
        require(!ascendingData || mass > previous, "simulated peaks not ascending");
        require(std::isfinite(peak.abundance), "abundance not finite");
        require(peak.abundance <= 100.000001L, "abundance above the base peak");
        previous = mass;
    }
}

inline void checkComparison(const Comparison& comparison) {
    require(comparison.rowCount >= 0 && comparison.rowCount <= maxComparisonRows, "row count outside the tables");
    const auto rows = static_cast<std::size_t>(comparison.rowCount) + 1;
    require(comparison.alignedObserved.size() >= rows && comparison.alignedSimulated.size() >= rows,
            "aligned rows outside the tables");
    for (int k = 1; k <= comparison.rowCount; ++k) {
        require(std::isfinite(comparison.alignedObserved[static_cast<std::size_t>(k)].abundance), "observed abundance");
        require(std::isfinite(comparison.alignedSimulated[static_cast<std::size_t>(k)].abundance), "simulated abundance");
    }
}

}  // namespace isoquill::fuzz
