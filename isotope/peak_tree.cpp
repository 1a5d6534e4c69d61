#include "isotope/peak_tree.h"

#include <algorithm>
#include <cmath>

namespace isoquill {

namespace {

// |roundReal48(d)| < mergeWindow holds exactly when |d| lies below the
// midpoint between mergeWindow and the Real48 value under it (a tie rounds
// up to mergeWindow), so the test needs no rounding.
constexpr long double mergeThreshold = mergeWindow - 0x1p-44L;

}  // namespace

void PeakTree::addPeak(long double mass, long double abundance) {
    // Nodes lie at least mergeWindow apart, so only the nearest node on
    // either side can be within the window.
    const auto above = std::lower_bound(byMass_.begin(), byMass_.end(), mass, [this](std::int32_t node, long double m) {
        return nodes_[static_cast<std::size_t>(node)].mass < m;
    });
    std::int32_t target = -1;
    auto consider = [&](std::int32_t node) {
        if (std::fabs(mass - nodes_[static_cast<std::size_t>(node)].mass) < mergeThreshold && (target < 0 || node < target))
            target = node;
    };
    if (above != byMass_.end()) consider(*above);
    if (above != byMass_.begin()) consider(*(above - 1));
    if (target >= 0) {
        nodes_[static_cast<std::size_t>(target)].abundance += abundance;
        return;
    }
    byMass_.insert(above, static_cast<std::int32_t>(nodes_.size()));
    nodes_.push_back({mass, abundance});
}

void PeakTree::readOutPeaks(std::vector<WorkPeak>& out) const {
    for (std::int32_t i : byMass_) {
        const WorkPeak& node = nodes_[static_cast<std::size_t>(i)];
        if (node.abundance <= minAbundance) continue;
        if (node.mass == 0.0L) return;
        out.push_back(node);
    }
}

void PeakTree::readOutPeaks(PeakList& simPeaks) const {
    for (std::int32_t i : byMass_) {
        const WorkPeak& node = nodes_[static_cast<std::size_t>(i)];
        if (node.abundance > minAbundance) simPeaks.append({storeReal48(node.mass), node.abundance});
    }
}

void PeakTree::freePeakTree() {
    nodes_.clear();
    byMass_.clear();
}

void PeakTree::readOutAndFree(std::vector<WorkPeak>& out) {
    out.clear();
    readOutPeaks(out);
    freePeakTree();
}

}  // namespace isoquill
