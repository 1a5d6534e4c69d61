#include "isotope/peak_tree.h"

#include <cmath>

namespace isoquill {

namespace {

// |roundReal48(d)| < mergeWindow holds exactly when |d| lies below the
// midpoint between mergeWindow and the Real48 value under it (a tie rounds
// up to mergeWindow), so the test needs no rounding per node visited.
constexpr long double mergeThreshold = mergeWindow - 0x1p-44L;

}  // namespace

void PeakTree::addPeak(long double mass, long double abundance) {
    const auto next = static_cast<std::int32_t>(nodes_.size());
    if (next == 0) {
        nodes_.push_back({mass, abundance, nil, nil, nil});
        return;
    }
    std::int32_t at = 0;
    for (;;) {
        PeakNode& node = nodes_[static_cast<std::size_t>(at)];
        if (std::fabs(mass - node.mass) < mergeThreshold) {
            node.abundance += abundance;
            return;
        }
        std::int32_t& link = mass <= node.mass ? node.left : node.right;
        if (link == nil) {
            link = next;  // before push_back, which may move the node
            nodes_.push_back({mass, abundance, nil, nil, at});
            return;
        }
        at = link;
    }
}

// In-order walk by parent links, calling visit(node) for every node above
// minAbundance until visit returns false.
template <class Visit>
void PeakTree::forEachSurvivor(Visit visit) const {
    if (nodes_.empty()) return;
    auto node = [this](std::int32_t i) -> const PeakNode& { return nodes_[static_cast<std::size_t>(i)]; };
    std::int32_t at = 0;
    while (node(at).left != nil) at = node(at).left;
    while (at != nil) {
        if (node(at).abundance > minAbundance && !visit(node(at))) return;
        if (node(at).right != nil) {
            at = node(at).right;
            while (node(at).left != nil) at = node(at).left;
        } else {
            std::int32_t from = at;
            at = node(at).parent;
            while (at != nil && node(at).right == from) {
                from = at;
                at = node(at).parent;
            }
        }
    }
}

void PeakTree::readOutPeaks(std::vector<WorkPeak>& out) const {
    // A zero mass ends a peak list, so nothing after it would be seen.
    forEachSurvivor([&out](const PeakNode& n) {
        if (n.mass == 0.0L) return false;
        out.push_back({n.mass, n.abundance});
        return true;
    });
}

void PeakTree::readOutPeaks(PeakList& simPeaks) const {
    forEachSurvivor([&simPeaks](const PeakNode& n) {
        simPeaks.append({storeReal48(n.mass), n.abundance});
        return true;
    });
}

void PeakTree::freePeakTree() { nodes_.clear(); }

void PeakTree::readOutAndFree(std::vector<WorkPeak>& out) {
    out.clear();
    readOutPeaks(out);
    freePeakTree();
}

}  // namespace isoquill
