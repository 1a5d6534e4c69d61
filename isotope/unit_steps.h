// Peak groups at unit resolution, for formulas with a count above 255: every
// entry's distribution by whole isotope steps, computed without pruning that
// could lose a visible peak, and the entries combined into one peak per step.
#pragma once

#include <cstdint>
#include <vector>

#include "chem/element_table.h"
#include "isotope/peak.h"
#include "isotope/peak_tree.h"

namespace isoquill {

// Probabilities by isotope step. Slot i is step firstStep + i: that many
// whole u above the lightest combination, whose mass is baseMass. Slots are
// scaled so the largest is 1 and trimmed where they fall below
// stepPruning of it; massOffset sums probability × (mass − baseMass), so a
// step's mass is baseMass + massOffset / probability.
struct StepDistribution {
    std::int64_t firstStep = 0;
    long double baseMass = 0.0L;
    std::vector<long double> probability;
    std::vector<long double> massOffset;

    bool empty() const { return probability.empty(); }
};

constexpr long double stepPruning = 1e-12L;

// The distribution of n >= 1 atoms of an element with isotope data: one step
// for a mono-isotopic element (its own mass times n), the binomial terms for
// two isotopes, repeated squaring of the one-atom distribution for more.
// Isotopes with an abundance of 0 or below take no part. The products and
// every slot made or copied are counted in `work`'s limit before they are
// made, so huge counts or nonsense data raise SimulationTooLargeError in
// bounded time and memory. Visible steps (0.0001 of the largest) lying
// maxComparisonRows apart raise ComparisonTooWideError before anything is made.
void stepPattern(StepDistribution& out, std::int32_t n, const ElementRecord& element, PeakTree& work);

// acc := acc combined with `next` (acc empty: a copy of `next`).
void combineSteps(StepDistribution& acc, const StepDistribution& next, PeakTree& work);

// Appends one peak per step whose probability is at least 0.0001 of the
// largest (0.01 on the 0-100 scale), at the step's abundance-weighted mean
// mass rounded to Real48; abundances stay probabilities. Marks the list as
// unitSteps.
void readOutSteps(PeakList& simPeaks, const StepDistribution& steps);

}  // namespace isoquill
