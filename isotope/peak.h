// Peaks and peak lists: the currency of the simulation and the comparison.
#pragma once

#include <vector>

#include "chem/real48.h"

namespace isoquill {

struct Peak {
    Real48 mass;                    // u
    long double abundance = 0.0L;   // a probability, or relative to a base peak of 100
};

// A list of peaks in order. As in the system's fixed tables, the list ends at
// the first peak whose mass is 0.0: a peak appended after such a peak is
// never seen. Unlike a fixed table it grows, so no surviving peak is lost.
class PeakList {
public:
    void clear() {  // keeps the capacity
        peaks_.clear();
        ended_ = false;
        unitSteps = false;
    }
    void append(const Peak& peak) {
        if (ended_) return;
        if (peak.mass.isZero()) ended_ = true;
        else peaks_.push_back(peak);
    }
    int count() const { return static_cast<int>(peaks_.size()); }
    bool empty() const { return peaks_.empty(); }
    // Peak i of the system's 1-based numbering, 1 <= i <= count().
    const Peak& operator[](int i) const { return peaks_[static_cast<std::size_t>(i - 1)]; }
    Peak& operator[](int i) { return peaks_[static_cast<std::size_t>(i - 1)]; }
    auto begin() const { return peaks_.begin(); }
    auto end() const { return peaks_.end(); }
    auto begin() { return peaks_.begin(); }
    auto end() { return peaks_.end(); }

    // Set for a group with one peak per whole isotope step (large molecules):
    // neighbours lie whole steps apart, but their masses, means over the
    // combinations of a step, drift from the first peak's whole steps by up
    // to a few tenths of a u across the group.
    bool unitSteps = false;

private:
    std::vector<Peak> peaks_;
    bool ended_ = false;
};

}  // namespace isoquill
