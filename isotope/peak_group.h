// The simulated isotope peak group of a parsed formula: the distribution of
// every formula entry, combined through the peak merge tree and scaled so the
// largest peak is 100.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "chem/element_table.h"
#include "chem/formula.h"
#include "isotope/peak.h"
#include "isotope/pattern_cache.h"
#include "isotope/peak_tree.h"

namespace isoquill {

// Raised once per formula entry without element data, with its symbol as the
// formula table holds it. Must not wait for the user.
using MissingDataNotice = std::function<void(const Symbol& symbol)>;

// Raised when an entry that has element data yields no peak (its symbol
// given), or when the entries together yield none (no symbol): a group
// without them would pass for a result.
class EmptyPatternError : public std::runtime_error {
public:
    explicit EmptyPatternError(std::string_view symbol = {});
};

// One step of combineEntryPatterns: the row it took, the distribution
// combined up to it, and the tree work that cost.
struct CombinedStep {
    std::vector<WorkPeak> row;
    std::vector<WorkPeak> result;
    std::int64_t work = 0;
};

// The work tables of the simulation; only simPeaks is a result. Rows and
// lists grow as needed and keep their memory from one simulation to the next.
struct Simulation {
    std::vector<std::vector<WorkPeak>> entryPeaks;  // row p at [p - 1]: the probabilities of entry p
    PeakList simPeaks;                              // the result: ascending mass, base peak 100
    std::vector<WorkPeak> accPeaks;                 // the distribution combined so far
    PeakTree peakTree;                              // empty between simulations
    PatternCache patterns;                          // rows of earlier simulations
    std::vector<CombinedStep> combinedSteps;        // the last combination's, while its rows recur
};

// Simulates every entry of the formula table up to the first empty symbol
// and combines the entries that have peaks. An entry without element data
// (no element, or no usable isotope data) raises showMissingData, when set,
// and adds nothing. Counts below 1 add nothing either. With every count up to
// 255 the system's fixed arithmetic gives the group; with any count above,
// it is computed by isotope step (unit_steps.h), one peak per whole u.
// Raises EmptyPatternError rather than give a group that lost an entry.
void simulatePeakGroup(Simulation& simulation, const Formula& formula, const ElementTable& elementTable,
                       const MissingDataNotice& showMissingData);

// Combines the non-empty rows of entryPeaks into simPeaks, not normalised: a
// single such row is taken as it is, more go through the tree pairwise.
void combineEntryPatterns(Simulation& simulation);

}  // namespace isoquill
