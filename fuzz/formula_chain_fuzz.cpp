// Fuzzes the comparison chain: the input is a few observed peaks followed by
// a formula text of any length and any bytes, compared over the shipped data.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "compare/compare_chain.h"
#include "fuzz_checks.h"
#include "isotope/exact_steps.h"
#include "shipped_elements.h"

using namespace isoquill;

namespace {

// Byte 0: the number of observed peaks (0..7); each peak is a 4-byte mass
// and a 4-byte float abundance, as typed values before Add's checks.
std::size_t addObservedPeaks(ObservedPeaks& observed, const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t peaks = data[0] % 8;
    std::size_t used = 1;
    for (std::size_t i = 0; i < peaks && used + 8 <= size; ++i, used += 8) {
        std::int32_t mass;
        float abundance;
        std::memcpy(&mass, data + used, 4);
        std::memcpy(&abundance, data + used + 4, 4);
        try {
            addObservedPeak(observed, mass % 4000, abundance);
        } catch (const FloatOverflowError&) {
        }
    }
    return used;
}

// The reference by squaring costs the square of its width, about five times
// the visible one; beyond this many peaks the check would slow the fuzzer.
constexpr int exactCheckPeaks = 100;

// The sum over the entries with data of count times the element's
// abundance-weighted isotope mass: the group's mean, whatever was pruned.
long double expectedMeanMass(const Formula& formula, const ElementTable& table) {
    long double mean = 0.0L;
    for (const FormulaEntry& entry : formula.formulaTable) {
        if (entry.symbol.empty()) break;
        const ElementRecord& element = table[entry.element];
        if (entry.element == 0 || entry.count < 1 || element.isotopeCount == 0) continue;
        long double mass = loadReal48(element.mass);
        if (element.isotopeCount > 1) {
            long double weight = 0.0L, sum = 0.0L;
            for (int j = 1; j <= element.isotopeCount; ++j) {
                weight += loadReal48(element.isotope(j).abundance);
                sum += loadReal48(element.isotope(j).abundance) * loadReal48(element.isotope(j).mass);
            }
            mass = sum / weight;
        }
        mean += entry.count * mass;
    }
    return mean;
}

// A group of a count above 255: its mean mass, and for groups of moderate
// width every step's abundance and the base step against the exact reference.
void checkLargeGroup(const PeakList& peaks, const Formula& formula, const ElementTable& table) {
    if (peaks.empty()) return;
    long double weight = 0.0L, sum = 0.0L;
    for (const Peak& peak : peaks) {
        weight += peak.abundance;
        sum += peak.abundance * loadReal48(peak.mass);
    }
    fuzz::require(std::fabs(sum / weight - expectedMeanMass(formula, table)) < 0.5L, "group mean mass off its formula");
    if (peaks.count() > exactCheckPeaks) return;

    const testing::ExactSteps exact = testing::exactGroup(formula, table);
    const auto exactBase = static_cast<std::size_t>(std::max_element(exact.p.begin(), exact.p.end()) - exact.p.begin());
    std::size_t slot = 0, baseSlot = 0;
    int base = 0;
    for (int i = 1; i <= peaks.count(); ++i) {
        const long double mass = loadReal48(peaks[i].mass);
        // Masses are Real48: beyond about 10^8 u a few roundings exceed 0.001 u.
        const long double tolerance = std::max(0.001L, mass * 0x1p-37L);
        for (; slot < exact.p.size() && (exact.p[slot] == 0.0L || exact.mass(slot) < mass - tolerance); ++slot)
            fuzz::require(exact.percent(slot) < 0.0100001L, "visible step missing");
        fuzz::require(slot < exact.p.size() && std::fabs(exact.mass(slot) - mass) < tolerance, "step mass off the reference");
        fuzz::require(std::fabs(exact.percent(slot) - peaks[i].abundance) < 0.02L, "step abundance off the reference");
        if (base == 0 || peaks[i].abundance > peaks[base].abundance) base = i, baseSlot = slot;
        ++slot;
    }
    fuzz::require(baseSlot == exactBase, "base step off the reference");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CompareState state;
    // A lower limit than the program's keeps every input within a fraction
    // of a second under the sanitizers.
    state.simulation.peakTree.workLimit = 200'000;
    int notices = 0;
    state.showMissingData = [&](const Symbol&) { ++notices; };
    const std::size_t used = addObservedPeaks(state.observed, data, size);
    const std::string_view text(reinterpret_cast<const char*>(data + used), size - used);
    try {
        if (runComparisonChain(state, testing::shippedElements(), text)) {
            fuzz::checkSimulatedGroup(state.simulation.simPeaks, true);
            fuzz::checkComparison(state.comparison);
            if (state.simulation.simPeaks.unitSteps)
                checkLargeGroup(state.simulation.simPeaks, state.formula, testing::shippedElements());
        }
    } catch (const FloatOverflowError&) {
    } catch (const ComparisonTooWideError&) {
    } catch (const SimulationTooLargeError&) {
    } catch (const EmptyPatternError&) {
    }
    fuzz::require(state.formula.formulaText.size() <= formulaTextCapacity, "formula text longer than 60");
    return 0;
}
