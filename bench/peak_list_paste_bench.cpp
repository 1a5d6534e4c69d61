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

// Masses 1300..1553 with abundances that rise and fall, as an instrument
// writes them: a header, tab-separated, ascending by mass.
std::string peakListText() {
    std::string text = "m/z\tIntensity\n";
    for (int i = 0; i < observedPeakLimit; ++i)
        text += std::to_string(1300 + i) + "\t" + std::to_string(1 + (i * 37) % 100) + ".25\n";
    return text;
}

void pastePeakList(benchmark::State& state) {
    const std::string text = peakListText();
    CompareState compare;
    runComparisonChain(compare, testing::shippedElements(), formula);
    for (auto _ : state) {
        compare.observed = ObservedPeaks{};
        benchmark::DoNotOptimize(addPeakList(compare.observed, text));
        benchmark::DoNotOptimize(runComparisonChain(compare, testing::shippedElements(), formula));
    }
}
BENCHMARK(pastePeakList)->Unit(benchmark::kMillisecond);

void addPeaksOneByOne(benchmark::State& state) {
    CompareState compare;
    runComparisonChain(compare, testing::shippedElements(), formula);
    for (auto _ : state) {
        compare.observed = ObservedPeaks{};
        for (int i = 0; i < observedPeakLimit; ++i) {
            addObservedPeak(compare.observed, 1300 + i, 1 + (i * 37) % 100 + 0.25L);
            benchmark::DoNotOptimize(runComparisonChain(compare, testing::shippedElements(), formula));
        }
    }
}
BENCHMARK(addPeaksOneByOne)->Unit(benchmark::kMillisecond);

}  // namespace
