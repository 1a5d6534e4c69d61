#include "isotope/peak_group.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "isotope/combinatorics.h"
#include "isotope/unit_steps.h"

namespace isoquill {

namespace {

bool hasElementData(const FormulaEntry& entry, const ElementTable& elementTable) {
    return entry.element != 0 && entry.element < elementRecordCount &&
           elementRecord(elementTable, entry.element).usableIsotopeCount() != 0;
}

// Equal to the bit: a cached result stands only for exactly the same input.
bool identical(const std::vector<WorkPeak>& a, const std::vector<WorkPeak>& b) {
    constexpr std::size_t valueBytes = 10;  // the x87 value; the rest is padding
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const WorkPeak& x, const WorkPeak& y) {
        return std::memcmp(&x.mass, &y.mass, valueBytes) == 0 && std::memcmp(&x.abundance, &y.abundance, valueBytes) == 0;
    });
}

void simulateEntry(Simulation& simulation, std::vector<WorkPeak>& row, const FormulaEntry& entry,
                   const ElementRecord& element) {
    const int isotopeCount = element.usableIsotopeCount();
    if (isotopeCount >= 3) {
        polyIsotopePattern(row, simulation.peakTree, entry.count, element);
    } else if (isotopeCount == 2) {
        twoIsotopePattern(row, entry.count, element);
    } else {
        // The element's own mass with the full count; never pruned. A zero
        // mass (count 0) leaves the row empty.
        const long double mass = roundReal48(loadReal48(element.mass) * entry.count);
        if (mass != 0.0L) row.push_back({mass, 1.0L});
    }
}

// Scales the largest abundance, rounded to Real48, to 100. Nonsense element
// data can leave no abundance above 0: such a group is left unscaled rather
// than divided by zero.
void normalise(PeakList& simPeaks) {
    long double max = 0.0L;
    for (const Peak& peak : simPeaks)
        if (peak.abundance > max) max = roundReal48(peak.abundance);
    if (max == 0.0L) return;
    for (Peak& peak : simPeaks) peak.abundance = (peak.abundance * 100) / max;
}

// The entries up to the first empty symbol that have element data; the
// others raise showMissingData.
template <typename Visit>
void forEachEntryWithData(const Formula& formula, const ElementTable& elementTable,
                          const MissingDataNotice& showMissingData, Visit visit) {
    for (std::size_t p = 0; p < formulaEntryCount; ++p) {
        const FormulaEntry& entry = formula.formulaTable[p];
        if (entry.symbol.empty()) break;
        if (hasElementData(entry, elementTable))
            visit(p, entry, elementRecord(elementTable, entry.element));
        else if (showMissingData)
            showMissingData(entry.symbol);
    }
}

bool hasLargeCount(const Formula& formula, const ElementTable& elementTable) {
    for (const FormulaEntry& entry : formula.formulaTable) {
        if (entry.symbol.empty()) break;
        if (entry.count > largestByteCount && hasElementData(entry, elementTable)) return true;
    }
    return false;
}

// A count of 0 or below adds nothing by design; any other empty entry lost its peaks.
void requirePeaks(bool empty, const FormulaEntry& entry) {
    if (!empty || entry.count < 1) return;
    std::string_view symbol = entry.symbol.text();
    while (symbol.starts_with(' ')) symbol.remove_prefix(1);
    throw EmptyPatternError(symbol);
}

void simulateEntries(Simulation& simulation, const Formula& formula, const ElementTable& elementTable,
                     const MissingDataNotice& showMissingData) {
    bool hadPeaks = false;
    forEachEntryWithData(formula, elementTable, showMissingData,
                         [&](std::size_t p, const FormulaEntry& entry, const ElementRecord& element) {
                             std::vector<WorkPeak>& row = simulation.entryPeaks[p];
                             if (const auto* cached = simulation.patterns.find(element, entry.count)) {
                                 simulation.peakTree.countWork(cached->work);
                                 row = cached->peaks;
                             } else {
                                 const std::int64_t workBefore = simulation.peakTree.work();
                                 simulateEntry(simulation, row, entry, element);
                                 requirePeaks(row.empty(), entry);
                                 simulation.patterns.store(element, entry.count, row,
                                                           simulation.peakTree.work() - workBefore);
                             }
                             hadPeaks = hadPeaks || !row.empty();
                         });
    combineEntryPatterns(simulation);
    if (hadPeaks && simulation.simPeaks.empty()) throw EmptyPatternError();
}

// The step arrays are locals: up to PeakTree::workLimit slots, which must
// not stay with the window's state after the formula, refused or not.
void simulateUnitSteps(Simulation& simulation, const Formula& formula, const ElementTable& elementTable,
                       const MissingDataNotice& showMissingData) {
    StepDistribution acc, row;
    forEachEntryWithData(formula, elementTable, showMissingData,
                         [&](std::size_t, const FormulaEntry& entry, const ElementRecord& element) {
                             stepPattern(row, entry.count, element, simulation.peakTree);
                             requirePeaks(row.empty(), entry);
                             if (!row.empty()) combineSteps(acc, row, simulation.peakTree);
                         });
    simulation.simPeaks.clear();
    readOutSteps(simulation.simPeaks, acc);
    if (!acc.empty() && simulation.simPeaks.empty()) throw EmptyPatternError();
}

}  // namespace

EmptyPatternError::EmptyPatternError(std::string_view symbol)
    : std::runtime_error(symbol.empty() ? std::string("Die Simulation ergibt keine Peaks")
                                        : "Die Simulation ergibt für " + std::string(symbol) + " keine Peaks") {}

void simulatePeakGroup(Simulation& simulation, const Formula& formula, const ElementTable& elementTable,
                       const MissingDataNotice& showMissingData) {
    simulation.entryPeaks.resize(formulaEntryCount);
    for (auto& row : simulation.entryPeaks) row.clear();
    simulation.peakTree.resetWork();
    // An error in the middle of a pass would leave nodes behind.
    try {
        if (hasLargeCount(formula, elementTable))
            simulateUnitSteps(simulation, formula, elementTable, showMissingData);
        else
            simulateEntries(simulation, formula, elementTable, showMissingData);
    } catch (...) {
        simulation.peakTree.freePeakTree();
        throw;
    }
    normalise(simulation.simPeaks);
}

void combineEntryPatterns(Simulation& simulation) {
    PeakTree& tree = simulation.peakTree;
    std::vector<WorkPeak>& acc = simulation.accPeaks;
    std::vector<CombinedStep>& steps = simulation.combinedSteps;
    tree.freePeakTree();
    acc.clear();
    // Combining is deterministic: while the rows are the last combination's,
    // in its order, its results stand, work counted as if done again.
    // Consecutive fragment candidates share their leading entries.
    std::size_t step = 0;
    for (const auto& row : simulation.entryPeaks) {
        if (row.empty()) continue;
        if (step < steps.size() && identical(steps[step].row, row)) {
            acc = steps[step].result;
            tree.countWork(steps[step].work);
        } else {
            steps.resize(step);  // later steps were built on another row
            const std::int64_t workBefore = tree.work();
            if (step == 0) {
                acc = row;
            } else {
                // Accumulated peaks from the last, the row's in order: the
                // order that decides which mass a merged peak keeps.
                for (auto a = acc.rbegin(); a != acc.rend(); ++a)
                    for (const WorkPeak& b : row)
                        tree.addPeak(roundReal48(b.mass + a->mass), roundReal48(a->abundance * b.abundance));
                tree.readOutAndFree(acc);
            }
            steps.push_back({row, acc, tree.work() - workBefore});
        }
        ++step;
    }
    simulation.simPeaks.clear();
    for (const WorkPeak& peak : acc) simulation.simPeaks.append({storeReal48(peak.mass), peak.abundance});
}

}  // namespace isoquill
