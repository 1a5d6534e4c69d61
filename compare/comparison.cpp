#include "compare/comparison.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace isoquill {

namespace {

// A group's grid position of `mass`: the distance to its first peak rounded
// half to even, plus 1. Positions far below the first peak are held at the
// lowest 32-bit value; they only ever lie outside every table.
std::int32_t gridPosition(long double mass, long double reference) {
    const long double position = std::rint(mass - reference) + 1;
    if (position > maxComparisonRows) throw ComparisonTooWideError();
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    return position < lowest ? lowest : static_cast<std::int32_t>(position);
}

void checkRowCount(std::int64_t rowCount) {
    if (rowCount > maxComparisonRows) throw ComparisonTooWideError();
}

// One group's peaks by grid position, into `grid` (grown as needed). A group
// at unit resolution is placed by the whole steps between neighbours, which
// its masses' drift cannot blur as it can the distance to the first peak.
struct GridPass {
    std::vector<Peak>& grid;
    long double reference;
    bool unitSteps = false;
    std::int32_t lastPosition = 0;

    std::int32_t place(const Peak& peak, long double abundance) {
        const long double mass = loadReal48(peak.mass);
        const std::int32_t p = unitSteps && lastPosition > 0 ? gridPosition(mass, reference) + lastPosition - 1
                                                             : gridPosition(mass, reference);
        if (unitSteps) reference = mass;
        checkRowCount(p);
        if (p >= 1) {
            if (static_cast<std::size_t>(p) >= grid.size()) grid.resize(static_cast<std::size_t>(p) + 1);
            grid[static_cast<std::size_t>(p)] = {peak.mass, abundance};
            lastPosition = p;
        }
        return p;
    }
};

}  // namespace

ComparisonTooWideError::ComparisonTooWideError()
    : std::runtime_error("Die Peakgruppen sind zu breit für den Vergleich (mehr als " +
                         std::to_string(maxComparisonRows) + " Zeilen)") {}

// Over every observed peak, up to the zero slot that ends the list, so a
// group whose base lies far into the list (a pasted protein group of 60
// peaks) is scaled to its own base.
void observedStatistics(Comparison& comparison, const ObservedPeaks& observed) {
    const auto& slots = observed.observedPeaks;
    int n = 0;
    while (n < observedSlotCount && !slots[n + 1].mass.isZero()) ++n;
    long double max = 0.0L;
    for (int i = 1; i <= n; ++i)
        if (slots[i].abundance > max) max = roundReal48(slots[i].abundance);
    long double w = 0.0L, m = 0.0L;
    if (max > 0.0L) {
        for (int i = 1; i <= n; ++i) {
            if (slots[i].abundance == 0.0L) continue;  // adds exactly nothing to the Real48 sums
            const long double a = slots[i].abundance * 100 / max;
            w = roundReal48(w + a);
            m = roundReal48(m + loadReal48(slots[i].mass) * a);
        }
    } else {
        max = 1.0L;
    }
    comparison.observedMax = storeReal48(max);
    comparison.observedMeanMass = w > 0.0L ? storeReal48(m / w) : Real48{};
}

void alignPeakGroups(Comparison& c, const ObservedPeaks& observed, const PeakList& simPeaks) {
    observedStatistics(c, observed);
    const auto& slots = observed.observedPeaks;
    const long double observedMax = loadReal48(c.observedMax);
    auto scaled = [observedMax](const Peak& peak) { return peak.abundance * 100 / observedMax; };

    c.observedBase = 0;
    c.observedCount = 0;
    for (int i = 1; i <= observedSlotCount && !slots[i].mass.isZero(); ++i) {
        if (scaled(slots[i]) == 100.0L) c.observedBase = i;
        c.observedCount = i;
    }
    c.simulatedCount = simPeaks.count();
    c.simulatedBase = 0;
    if (c.simulatedCount > 0) {
        c.simulatedBase = 1;
        for (int j = 1; j <= c.simulatedCount; ++j)
            if (simPeaks[j].abundance > simPeaks[c.simulatedBase].abundance) c.simulatedBase = j;
    }

    const std::int64_t slotShift = c.observedBase - c.simulatedBase;
    const std::int64_t slotRows = slotShift > 0 ? std::max<std::int64_t>(c.observedCount, c.simulatedCount + slotShift)
                                                : std::max<std::int64_t>(c.observedCount - slotShift, c.simulatedCount);
    checkRowCount(slotRows);
    c.rowCount = static_cast<std::int32_t>(slotRows);

    const auto rows = static_cast<std::size_t>(c.rowCount) + 1;
    c.gridObserved.assign(rows, Peak{});
    c.gridSimulated.assign(rows, Peak{});
    GridPass observedGrid{c.gridObserved, c.observedCount > 0 ? loadReal48(slots[1].mass) : 0.0L};
    GridPass simulatedGrid{c.gridSimulated, c.simulatedCount > 0 ? loadReal48(simPeaks[1].mass) : 0.0L,
                           simPeaks.unitSteps};
    const std::int32_t simulatedBaseSlot = c.simulatedBase;
    std::int32_t simulatedBaseSlotPosition = 0;
    bool simulatedBaseOnGrid = false;
    for (int i = 1; i <= c.rowCount; ++i) {
        if (i <= c.observedCount) {
            const long double abundance = scaled(slots[i]);
            const std::int32_t p = observedGrid.place(slots[i], abundance);
            if (abundance == 100.0L) c.observedBase = p;
        }
        if (i <= c.simulatedCount) {
            const std::int32_t p = simulatedGrid.place(simPeaks[i], simPeaks[i].abundance);
            if (i == simulatedBaseSlot) simulatedBaseSlotPosition = p;
            if (simPeaks[i].abundance == 100.0L) {
                c.simulatedBase = p;
                simulatedBaseOnGrid = true;
            }
        }
    }
    // Without an exact 100.0 the base is still a slot index; as a grid
    // position it lines up with the observed base also across gaps.
    if (c.simulatedCount > 0 && !simulatedBaseOnGrid) c.simulatedBase = simulatedBaseSlotPosition;

    c.rowCount = std::max({c.rowCount, observedGrid.lastPosition, simulatedGrid.lastPosition});
    const auto alignedRows = static_cast<std::size_t>(c.rowCount) + 1;
    c.gridObserved.resize(alignedRows);
    c.gridSimulated.resize(alignedRows);
    c.alignedObserved.assign(alignedRows, Peak{});
    c.alignedSimulated.assign(alignedRows, Peak{});

    // Peaks the shift pushes beyond rowCount are left out.
    const std::int64_t d = static_cast<std::int64_t>(c.observedBase) - c.simulatedBase;
    for (std::int64_t k = 1; k <= c.rowCount; ++k) {
        const auto row = static_cast<std::size_t>(k);
        if (d > 0) {
            c.alignedObserved[row] = c.gridObserved[row];
            if (k - d >= 1) c.alignedSimulated[row] = c.gridSimulated[static_cast<std::size_t>(k - d)];
        } else {
            c.alignedSimulated[row] = c.gridSimulated[row];
            if (k + d >= 1) c.alignedObserved[row] = c.gridObserved[static_cast<std::size_t>(k + d)];
        }
    }
}

long double squaredErrorSum(const Comparison& comparison) {
    // Empty rows, also those beyond rowCount, add exactly nothing.
    long double sum = 0.0L;
    const std::size_t rows = std::min(comparison.alignedObserved.size(), comparison.alignedSimulated.size());
    for (std::size_t k = 1; k < rows; ++k) {
        if (comparison.alignedObserved[k].abundance == 0.0L && comparison.alignedSimulated[k].abundance == 0.0L) continue;
        const long double difference =
            roundReal48(comparison.alignedObserved[k].abundance) - roundReal48(comparison.alignedSimulated[k].abundance);
        sum = roundReal48(sum + difference * difference);
    }
    return sum;
}

}  // namespace isoquill
