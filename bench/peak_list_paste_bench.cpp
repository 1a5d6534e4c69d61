// Pasting a full peak list of 254 lines: every line through Add's rules, then
// one comparison. Beside it, the same peaks added one by one as typing them
// does, with a comparison after each.
#include <benchmark/benchmark.h>

#include <string>

#include "compare/compare_chain.h"
#include "compare/peak_list_text.h"
#include "shipped_elements.h"

namespace {

using namespace isoquill;

constexpr const char* formula = "C100H202";

// Peak i of 254: masses 1300..1553 with abundances that rise and fall, in
// ascending order as an instrument writes them, or scrambled (97 and 254
// share no factor, so every mass comes once), which makes every Add sort.
int peakMass(int i, bool scrambled) { return 1300 + (scrambled ? i * 97 % observedPeakLimit : i); }
int peakAbundanceUnits(int i) { return 1 + (i * 37) % 100; }  // plus 0.25

std::string peakListText(bool scrambled) {
    std::string text = "m/z\tIntensity\n";
    for (int i = 0; i < observedPeakLimit; ++i)
        text += std::to_string(peakMass(i, scrambled)) + "\t" + std::to_string(peakAbundanceUnits(i)) + ".25\n";
    return text;
}

void pastePeakList(benchmark::State& state, bool scrambled) {
    const std::string text = peakListText(scrambled);
    CompareState compare;
    runComparisonChain(compare, testing::shippedElements(), formula);
    for (auto _ : state) {
        compare.observed = ObservedPeaks{};
        benchmark::DoNotOptimize(addPeakList(compare.observed, text));
        benchmark::DoNotOptimize(runComparisonChain(compare, testing::shippedElements(), formula));
    }
}
BENCHMARK_CAPTURE(pastePeakList, ascending, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pastePeakList, scrambled, true)->Unit(benchmark::kMillisecond);

void addPeaksOneByOne(benchmark::State& state, bool scrambled) {
    CompareState compare;
    runComparisonChain(compare, testing::shippedElements(), formula);
    for (auto _ : state) {
        compare.observed = ObservedPeaks{};
        for (int i = 0; i < observedPeakLimit; ++i) {
            addObservedPeak(compare.observed, peakMass(i, scrambled), peakAbundanceUnits(i) + 0.25L);
            benchmark::DoNotOptimize(runComparisonChain(compare, testing::shippedElements(), formula));
        }
    }
}
BENCHMARK_CAPTURE(addPeaksOneByOne, ascending, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(addPeaksOneByOne, scrambled, true)->Unit(benchmark::kMillisecond);

}  // namespace
