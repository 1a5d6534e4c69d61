// The comparison of the observed with the simulated peak group: both on a grid
// of 1 u steps, shifted so the base peaks share a row, and the least-square
// error between the aligned abundances.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "compare/observed_peaks.h"
#include "isotope/peak.h"

namespace isoquill {

// Grid positions and rows beyond this raise ComparisonTooWideError.
constexpr int maxComparisonRows = 10000;

class ComparisonTooWideError : public std::runtime_error {
public:
    ComparisonTooWideError();
};

// The results of one alignment, all rewritten by every run. The grid and
// aligned tables are 1-based (index 0 unused) and hold at least rowCount + 1
// entries; an empty slot (all zero) means no peak of that group in that row.
struct Comparison {
    Real48 observedMax;       // largest observed abundance, 1.0 if none
    Real48 observedMeanMass;  // abundance-weighted mean observed mass, 0.0 if none
    std::int32_t observedCount = 0;
    std::int32_t simulatedCount = 0;
    std::int32_t observedBase = 0;
    std::int32_t simulatedBase = 0;
    std::int32_t rowCount = 0;
    std::vector<Peak> gridObserved, gridSimulated;
    std::vector<Peak> alignedObserved, alignedSimulated;
};

void observedStatistics(Comparison& comparison, const ObservedPeaks& observed);
void alignPeakGroups(Comparison& comparison, const ObservedPeaks& observed, const PeakList& simPeaks);
// Sum of squared differences over all aligned rows, rounded to Real48 per step.
long double squaredErrorSum(const Comparison& comparison);

}  // namespace isoquill
