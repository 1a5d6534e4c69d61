// The peak merge tree: collects peaks, merging any that come closer than
// 0.1 u to a node on their search path, and reads them out in ascending mass.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "isotope/peak.h"

namespace isoquill {

// A peak while the simulation works on it: the mass is held widened, but it
// is always exactly a Real48 value.
struct WorkPeak {
    long double mass;       // u
    long double abundance;  // probability
};

// 0.1 and 0.0001 as Real48 values (0.10000000000002274, 0.00009999999999998899).
constexpr long double mergeWindow = 0x1.999999999Ap-4L;
constexpr long double minAbundance = 0x1.a36e2eb1c4p-14L;

// The system's merge tree, held as its in-order sequence: the nodes sorted by
// mass, each with its creation number. In the tree, of the (at most two) nodes
// within mergeWindow of a new peak the earlier-made one is an ancestor of
// the other, so every search path meets it first: merging into the
// earliest-made node within the window gives the tree's results exactly,
// while each insertion costs a binary search whatever the order of arrival
// (the passes insert in descending mass, which makes the tree a chain).
// Raised when one simulation would take more than PeakTree::workLimit:
// formulas with counts in the millions, or nonsense element data, would
// otherwise keep the user waiting for minutes.
class SimulationTooLargeError : public std::runtime_error {
public:
    SimulationTooLargeError();
};

class PeakTree {
public:
    // In units of one peak inserted; moving 25 nodes aside for a new one
    // costs about one unit more. The limit is about half a second.
    static constexpr std::int64_t defaultWorkLimit = 5'000'000;
    std::int64_t workLimit = defaultWorkLimit;

    // Starts the count of work that workLimit bounds.
    void resetWork() { work_ = 0; }
    std::int64_t work() const { return work_; }
    // Adds work done outside the tree (in the same units) to the count.
    void countWork(std::int64_t units) {
        work_ += units;
        if (work_ > workLimit) throw SimulationTooLargeError();
    }

    // Inserts a peak, or merges it into the earliest-made node whose mass
    // differs by less than mergeWindow (the difference rounded to Real48):
    // that node keeps its own mass and adds the abundance. Both arguments
    // must be Real48 values. Raises SimulationTooLargeError past workLimit.
    void addPeak(long double mass, long double abundance);

    // Appends the nodes whose abundance exceeds minAbundance, in ascending
    // mass, up to any of mass 0.0, which ends a peak list.
    void readOutPeaks(std::vector<WorkPeak>& out) const;

    // Empties the tree; its storage keeps its memory for the next pass.
    void freePeakTree();

    // The end of every pass: `out` := the read-out, then the tree is freed.
    void readOutAndFree(std::vector<WorkPeak>& out);

    bool empty() const { return nodes_.empty(); }
    int liveNodeCount() const { return static_cast<int>(nodes_.size()); }

private:
    // A Real48 value is exactly a double, and the search runs on doubles:
    // an 80-bit load or store costs several times a double's.
    struct PeakNode {
        double mass;
        std::int32_t made;  // creation order: lower is earlier
        long double abundance;
    };
    std::vector<PeakNode> nodes_;  // in ascending mass
    std::int64_t work_ = 0;
};

}  // namespace isoquill
