// The comparison chain runs on every keystroke in the formula field and once
// per fragment candidate: parse, simulate, align with three observed peaks,
// least-square error.
#include <benchmark/benchmark.h>

#include <cmath>

#include "compare/compare_chain.h"
#include "shipped_elements.h"

namespace {

using namespace isoquill;

// Observed peaks at the whole masses around the simulated base peak, so the
// alignment works on a group of the formula's own size.
void observeAroundBasePeak(CompareState& compare) {
    const PeakList& simPeaks = compare.simulation.simPeaks;
    if (simPeaks.empty()) return;
    int base = 1;
    for (int i = 1; i <= simPeaks.count(); ++i)
        if (simPeaks[i].abundance > simPeaks[base].abundance) base = i;
    const long double mass = std::round(loadReal48(simPeaks[base].mass));
    compare.observed.observedPeaks[1] = {storeReal48(mass - 1), 40.0L};
    compare.observed.observedPeaks[2] = {storeReal48(mass), 100.0L};
    compare.observed.observedPeaks[3] = {storeReal48(mass + 1), 70.0L};
    compare.observed.observedNext = 4;
}

void comparisonChain(benchmark::State& state, const char* formula) {
    CompareState compare;
    runComparisonChain(compare, testing::shippedElements(), formula);
    observeAroundBasePeak(compare);
    for (auto _ : state) benchmark::DoNotOptimize(runComparisonChain(compare, testing::shippedElements(), formula));
}

// As the first run of a formula: no entry distribution from an earlier run.
void comparisonChainCold(benchmark::State& state, const char* formula) {
    CompareState compare;
    runComparisonChain(compare, testing::shippedElements(), formula);
    observeAroundBasePeak(compare);
    for (auto _ : state) {
        compare.simulation.patterns = PatternCache{};
        benchmark::DoNotOptimize(runComparisonChain(compare, testing::shippedElements(), formula));
    }
}

#define ISOQUILL_CHAIN_BENCHMARKS(name, formula)                                          \
    BENCHMARK_CAPTURE(comparisonChain, name, formula)->Unit(benchmark::kMicrosecond);     \
    BENCHMARK_CAPTURE(comparisonChainCold, name, formula)->Unit(benchmark::kMicrosecond)

ISOQUILL_CHAIN_BENCHMARKS(C6H12O6, "C6H12O6");
ISOQUILL_CHAIN_BENCHMARKS(C20H25N3O, "C20H25N3O");
ISOQUILL_CHAIN_BENCHMARKS(C100H202, "C100H202");
ISOQUILL_CHAIN_BENCHMARKS(C6Cl6, "C6Cl6");
ISOQUILL_CHAIN_BENCHMARKS(SnCl4, "SnCl4");
ISOQUILL_CHAIN_BENCHMARKS(C254H254N50O50S10, "C254H254N50O50S10");
ISOQUILL_CHAIN_BENCHMARKS(insulin, "C254H377N65O75S6");
ISOQUILL_CHAIN_BENCHMARKS(protein, "C2934H4615N781O897S39");
ISOQUILL_CHAIN_BENCHMARKS(Cl255, "Cl255");
ISOQUILL_CHAIN_BENCHMARKS(Br250, "Br250");
ISOQUILL_CHAIN_BENCHMARKS(O255, "O255");
ISOQUILL_CHAIN_BENCHMARKS(S255, "S255");
ISOQUILL_CHAIN_BENCHMARKS(Sn255, "Sn255");
ISOQUILL_CHAIN_BENCHMARKS(Hg255, "Hg255");
ISOQUILL_CHAIN_BENCHMARKS(S10000, "S10000");
ISOQUILL_CHAIN_BENCHMARKS(polymer, "C50000H80000N13000O15000S400");

}  // namespace
