// Element data the loader accepts and formulas the parser accepts, chosen to
// cost the most: each simulation must finish or be refused in bounded time
// and memory. Peak memory is the process's, so run one case per process
// (--benchmark_filter) to read its figure.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <stdexcept>

#include "compare/compare_chain.h"
#include "shipped_elements.h"

namespace {

using namespace isoquill;

struct HostileCase {
    const char* formula;
    std::initializer_list<std::pair<long double, long double>> isotopes;  // of element Zz (number 99)
};

ElementTable tableWith(const HostileCase& c) {
    ElementTable table = testing::shippedElements();
    ElementRecord& zz = table[99];
    zz.symbol = Symbol::from("Zz");
    zz.mass = storeReal48(1.0L);
    zz.isotopeCount = static_cast<std::uint8_t>(c.isotopes.size());
    int j = 0;
    for (const auto& [mass, abundance] : c.isotopes)
        const_cast<Isotope&>(zz.isotope(++j)) = {storeReal48(mass), storeReal48(abundance)};
    return table;
}

// One comparison chain per iteration in a fresh state, as a window's first run.
void hostileData(benchmark::State& state, HostileCase c) {
    const ElementTable table = tableWith(c);
    std::string outcome = "peaks";
    for (auto _ : state) {
        CompareState compare;
        compare.observed.observedPeaks[1] = {storeReal48(100.0L), 100.0L};
        compare.observed.observedNext = 2;
        try {
            runComparisonChain(compare, table, c.formula);
        } catch (const std::runtime_error& e) {
            outcome = e.what();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.SetLabel(outcome.substr(0, 40));
}

constexpr long double far = 1000000.0L;  // the widest span one atom may have

}  // namespace

// Two isotopes 999,999 u apart, the heavy one visible: never comparable.
BENCHMARK_CAPTURE(hostileData, wide_pair_Zz256, HostileCase{"Zz256", {{1.0L, 0.9L}, {far, 0.1L}}})
    ->Unit(benchmark::kMillisecond);
// The heavy one invisible: three kept steps two million slots apart, then two such entries.
BENCHMARK_CAPTURE(hostileData, sparse_pair_Zz256, HostileCase{"Zz256", {{1.0L, 1.0L}, {far, 1e-7L}}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hostileData, sparse_pair_Zz256Zz256, HostileCase{"Zz256Zz256", {{1.0L, 1.0L}, {far, 1e-7L}}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hostileData, sparse_pair_many_entries,
                  HostileCase{"Zz256CZz300HZz400OZz500NZz600SZz700", {{1.0L, 1.0L}, {far, 1e-7L}}})
    ->Unit(benchmark::kMillisecond);
// Three isotopes: a million-slot atom, then its squares.
BENCHMARK_CAPTURE(hostileData, sparse_three_Zz300,
                  HostileCase{"Zz300", {{1.0L, 0.5L}, {2.0L, 0.5L}, {far, 1e-10L}}})
    ->Unit(benchmark::kMillisecond);
// Ten isotopes a step apart, equal abundance: the widest squarings, the largest count.
BENCHMARK_CAPTURE(hostileData, ten_steps_Zz2147483647,
                  HostileCase{"Zz2147483647", {{1, .1L}, {2, .1L}, {3, .1L}, {4, .1L}, {5, .1L}, {6, .1L}, {7, .1L},
                                               {8, .1L}, {9, .1L}, {10, .1L}}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hostileData, ten_steps_Zz40000,
                  HostileCase{"Zz40000", {{1, .1L}, {2, .1L}, {3, .1L}, {4, .1L}, {5, .1L}, {6, .1L}, {7, .1L},
                                          {8, .1L}, {9, .1L}, {10, .1L}}})
    ->Unit(benchmark::kMillisecond);
// Counts up to 255 take the per-atom passes: ten isotopes 0.3 u apart, so no two merge.
BENCHMARK_CAPTURE(hostileData, ten_close_Zz255,
                  HostileCase{"Zz255", {{100.0, .1L}, {100.3, .1L}, {100.6, .1L}, {100.9, .1L}, {101.2, .1L},
                                        {101.5, .1L}, {101.8, .1L}, {102.1, .1L}, {102.4, .1L}, {102.7, .1L}}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hostileData, ten_close_Zz255Zz255Zz255,
                  HostileCase{"Zz255Zz255Zz255", {{100.0, .1L}, {100.3, .1L}, {100.6, .1L}, {100.9, .1L},
                                                  {101.2, .1L}, {101.5, .1L}, {101.8, .1L}, {102.1, .1L},
                                                  {102.4, .1L}, {102.7, .1L}}})
    ->Unit(benchmark::kMillisecond);
// Two isotopes a step apart near the widest comparable group.
BENCHMARK_CAPTURE(hostileData, even_pair_Zz5000000, HostileCase{"Zz5000000", {{1.0L, 0.5L}, {2.0L, 0.5L}}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hostileData, even_pair_Zz4000000Zz4000000,
                  HostileCase{"Zz4000000Zz4000000", {{1.0L, 0.5L}, {2.0L, 0.5L}}})
    ->Unit(benchmark::kMillisecond);
