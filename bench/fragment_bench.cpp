// The fragment generator on the shipped element data: the enumeration of
// three range sets, in average and monoisotopic mode, beside the plain
// element-by-element enumeration, the scoring of candidate lists against
// three observed peaks on one thread and on all of them, and the text a copy
// of 1.9 million result rows gives.
#include <benchmark/benchmark.h>

#include <cmath>
#include <utility>
#include <vector>

#include "chem/element_table.h"
#include "compare/compare_chain.h"
#include "fragment/enumeration.h"
#include "fragment/result_table.h"
#include "fragment/plain_enumeration.h"
#include "fragment/scoring.h"
#include "shipped_elements.h"

namespace isoquill {
namespace {

struct RangeSet {
    const char* formula;
    testing::Ranges ranges;
    long double target;
    long double tolerance;
};

const RangeSet smallSet{"CHNO", {{0, 20}, {0, 40}, {0, 5}, {0, 10}}, 180.16L, 0.5L};
const RangeSet mediumSet{"CHNOS", {{0, 50}, {0, 100}, {0, 10}, {0, 20}, {0, 3}}, 600.0L, 0.5L};
const RangeSet wideSet{"CHNO", {{0, 100}, {0, 200}, {0, 20}, {0, 30}}, 1200.0L, 0.3L};
// The ranges of a large search around 1000 u; the tolerance sets the size.
const RangeSet largeSet{"CHNOS", {{0, 200}, {0, 200}, {0, 30}, {0, 40}, {0, 5}}, 1000.0L, 0.05L};
// The same at 1.9 M candidates: the run isoquill-cli fragments is timed beside.
const RangeSet generateSet{"CHNOS", {{0, 200}, {0, 200}, {0, 30}, {0, 40}, {0, 5}}, 1000.0L, 8.44L};

struct Run {
    CompareState compare;
    FragmentState fragment;
};

// As "Generate" leaves things once the range rows are taken.
void prepare(Run& run, const RangeSet& set) {
    setFormulaText(run.compare.formula, set.formula);
    clearFormula(run.compare.formula);
    parseFormula(run.compare.formula, testing::shippedElements());
    run.fragment = testing::prepared(run.compare.formula, set.ranges, set.target, set.tolerance);
}

// The same search over the monoisotopic mass table: its speed must not differ.
void enumeration(benchmark::State& state, const RangeSet& set, MassMode mode = MassMode::average) {
    Run run;
    prepare(run, set);
    run.fragment.massMode = mode;
    applyMassMode(run.fragment, run.compare.formula, testing::shippedElements());
    std::size_t candidates = 0;
    for (auto _ : state) {
        initCountMasses(run.fragment, run.compare.formula);
        buildCandidates(run.fragment, run.compare.formula);
        filterByTolerance(run.fragment);
        candidates = run.fragment.candidateList.size();
        freeCandidateLists(run.fragment);
    }
    state.counters["candidates"] = static_cast<double>(candidates);
}

void plainEnumeration(benchmark::State& state, const RangeSet& set) {
    Run run;
    prepare(run, set);
    std::size_t candidates = 0;
    for (auto _ : state) {
        initCountMasses(run.fragment, run.compare.formula);
        candidates = testing::plainEnumeration(run.fragment, run.compare.formula).size();
    }
    state.counters["candidates"] = static_cast<double>(candidates);
}

// The three observed peaks the scoring runs compare with.
void observeThreePeaks(Run& run, long double target) {
    ObservedPeaks& observed = run.compare.observed;
    const long double base = std::round(target);
    observed.observedPeaks[1] = {storeReal48(base), 100.0L};
    observed.observedPeaks[2] = {storeReal48(base + 1), 6.7L};
    observed.observedPeaks[3] = {storeReal48(base + 2), 1.2L};
    observed.observedNext = 4;
    observedStatistics(run.compare.comparison, observed);
}

// "Generate" whole, as the window's worker thread and isoquill-cli run it.
void generate(benchmark::State& state, const RangeSet& set) {
    Run run;
    observeThreePeaks(run, set.target);
    prepare(run, set);
    GenerateResult result;
    for (auto _ : state) generateCandidates(run.fragment, run.compare, testing::shippedElements(), result);
    state.counters["rows"] = static_cast<double>(result.table.rows.size());
}

// state.range(0): the scoring threads, 0 for all the hardware has.
void scoring(benchmark::State& state, const RangeSet& set) {
    Run run;
    observeThreePeaks(run, set.target);
    prepare(run, set);
    initCountMasses(run.fragment, run.compare.formula);
    buildCandidates(run.fragment, run.compare.formula);
    filterByTolerance(run.fragment);
    const int threads = state.range(0) > 0 ? static_cast<int>(state.range(0)) : scoringThreadCount();
    ScoringOutcome outcome;
    for (auto _ : state) scoreCandidates(run.fragment, run.compare, testing::shippedElements(), threads, outcome);
    const auto candidates = static_cast<std::int64_t>(run.fragment.candidateList.size());
    state.SetItemsProcessed(state.iterations() * candidates);
    state.counters["candidates"] = static_cast<double>(candidates);
    state.counters["threads"] = threads;
}

// The text a copy of the result grid puts on the clipboard, made on a
// thread of its own: how long the copy takes to land.
void resultText(benchmark::State& state, const RangeSet& set) {
    Run run;
    prepare(run, set);
    initCountMasses(run.fragment, run.compare.formula);
    buildCandidates(run.fragment, run.compare.formula);
    filterByTolerance(run.fragment);
    const ResultTable table = ausgebenRows(run.fragment, run.compare.formula);
    std::size_t bytes = 0;
    for (auto _ : state) bytes = resultTableText(table).size();
    state.counters["rows"] = static_cast<double>(table.rows.size());
    state.counters["MB"] = static_cast<double>(bytes) / (1 << 20);
}

// The search around 1000 u with the tolerance that gives 1.9 million rows.
const RangeSet hugeSet{"CHNOS", {{0, 200}, {0, 200}, {0, 30}, {0, 40}, {0, 5}}, 1000.0L, 8.44L};

BENCHMARK_CAPTURE(enumeration, a_C20H40N5O10_180, smallSet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(enumeration, b_C50H100N10O20S3_600, mediumSet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(enumeration, c_C100H200N20O30_1200, wideSet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(enumeration, a_C20H40N5O10_180_mono, smallSet, MassMode::monoisotopic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(enumeration, b_C50H100N10O20S3_600_mono, mediumSet, MassMode::monoisotopic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(enumeration, c_C100H200N20O30_1200_mono, wideSet, MassMode::monoisotopic)
    ->Unit(benchmark::kMillisecond);
// 181 candidates: too few to share out, so one thread either way.
BENCHMARK_CAPTURE(scoring, d_C20H40N5O10_180_threads, smallSet)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(scoring, e_C200H200N30O40S5_1000_threads, largeSet)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(generate, f_C200H200N30O40S5_1000_tolerance_8_44, generateSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(plainEnumeration, a_C20H40N5O10_180, smallSet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainEnumeration, b_C50H100N10O20S3_600, mediumSet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainEnumeration, c_C100H200N20O30_1200, wideSet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(resultText, f_C200H200N30O40S5_1000_8_44, hugeSet)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace isoquill
