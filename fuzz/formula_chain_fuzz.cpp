// Fuzzes the comparison chain: the input is a few observed peaks followed by
// a formula text of any length and any bytes, compared over the shipped data.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "compare/compare_chain.h"
#include "fuzz_checks.h"
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
        }
    } catch (const FloatOverflowError&) {
    } catch (const ComparisonTooWideError&) {
    } catch (const SimulationTooLargeError&) {
    } catch (const EmptyPatternError&) {
    }
    fuzz::require(state.formula.formulaText.size() <= formulaTextCapacity, "formula text longer than 60");
    return 0;
}
