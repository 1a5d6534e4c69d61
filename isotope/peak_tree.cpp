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

SimulationTooLargeError::SimulationTooLargeError()
    : std::runtime_error("Die Formel ist zu groß für die Simulation") {}

void PeakTree::addPeak(long double mass, long double abundance) {
    // Nodes lie at least mergeWindow apart, so only the nearest node on
    // either side can be within the window.
    const double key = static_cast<double>(mass);
    const auto above = std::lower_bound(nodes_.begin(), nodes_.end(), key,
                                        [](const PeakNode& node, double m) { return node.mass < m; });
    auto target = nodes_.end();
    auto consider = [&](std::vector<PeakNode>::iterator node) {
        if (std::fabs(mass - static_cast<long double>(node->mass)) < mergeThreshold &&
            (target == nodes_.end() || node->made < target->made))
            target = node;
    };
    if (above != nodes_.end()) consider(above);
    if (above != nodes_.begin()) consider(above - 1);
    countWork(1 + (target == nodes_.end() ? (nodes_.end() - above) / 25 : 0));
    if (target != nodes_.end())
        target->abundance += abundance;
    else
        nodes_.insert(above, {key, static_cast<std::int32_t>(nodes_.size()), abundance});
}

void PeakTree::readOutPeaks(std::vector<WorkPeak>& out) const {
    for (const PeakNode& node : nodes_) {
        if (node.abundance <= minAbundance) continue;
        if (node.mass == 0.0L) return;
        out.push_back({node.mass, node.abundance});
    }
}

void PeakTree::freePeakTree() { nodes_.clear(); }

void PeakTree::readOutAndFree(std::vector<WorkPeak>& out) {
    out.clear();
    readOutPeaks(out);
    freePeakTree();
}

}  // namespace isoquill
