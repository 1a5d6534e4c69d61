// The simulated isotope peak group of a parsed formula: the distribution of
// every formula entry, combined through the peak merge tree and scaled so the
// largest peak is 100.
#pragma once

#include <functional>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "isotope/peak.h"
#include "isotope/peak_tree.h"

namespace isoquill {

// Raised once per formula entry without element data, with its symbol as the
// formula table holds it. Must not wait for the user.
using MissingDataNotice = std::function<void(const Symbol& symbol)>;

struct Simulation {
    std::vector<PeakList> entryPeaks;  // row p of the system's numbering at [p - 1]
    PeakList simPeaks;                 // the result: ascending mass, base peak 100
    PeakList accPeaks;
    PeakTree peakTree;
};

void simulatePeakGroup(Simulation& simulation, const Formula& formula, const ElementTable& elementTable,
                       const MissingDataNotice& showMissingData);

// Combines the non-empty rows of entryPeaks into simPeaks, not normalised.
void combineEntryPatterns(Simulation& simulation);

}  // namespace isoquill
