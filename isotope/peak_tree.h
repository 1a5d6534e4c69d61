// The peak merge tree: collects peaks, merging any that come closer than
// 0.1 u to a node on their search path, and reads them out in ascending mass.
#pragma once

#include <cstdint>
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

// A binary search tree keyed by mass whose nodes live in a pool and link by
// index. Freeing the tree empties the pool but keeps its memory, so a pass
// allocates nothing once the pool has grown to the size it needs.
class PeakTree {
public:
    // Inserts a peak, or merges it into the first node on its search path
    // whose mass differs by less than mergeWindow (the difference rounded to
    // Real48): that node keeps its own mass and adds the abundance. Both
    // arguments must be Real48 values.
    void addPeak(long double mass, long double abundance);

    // Appends the nodes whose abundance exceeds minAbundance, in ascending mass.
    void readOutPeaks(std::vector<WorkPeak>& out) const;
    void readOutPeaks(PeakList& simPeaks) const;

    void freePeakTree();

    // The end of every pass: `out` := the read-out, then the tree is freed.
    void readOutAndFree(std::vector<WorkPeak>& out);

    bool empty() const { return nodes_.empty(); }
    int liveNodeCount() const { return static_cast<int>(nodes_.size()); }

private:
    static constexpr std::int32_t nil = -1;
    struct PeakNode {
        long double mass;
        long double abundance;
        std::int32_t left;
        std::int32_t right;
        std::int32_t parent;
    };

    template <class Visit>
    void forEachSurvivor(Visit visit) const;

    std::vector<PeakNode> nodes_;  // node 0 is the root
};

}  // namespace isoquill
