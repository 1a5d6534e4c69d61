// The candidates window's core work on 1.9 M scored rows: ranking by each
// kind of column, the plausibility filter, and saving every row.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "fragment/candidate_table.h"
#include "fragment/ranking.h"
#include "synthetic_candidates.h"

namespace isoquill {
namespace {

const ResultTable& candidates() {
    static const ResultTable table = benchmarks::syntheticCandidates();
    return table;
}

// state.range(0): the column, state.range(1): 1 for descending.
void ranking(benchmark::State& state) {
    const std::vector<std::uint32_t> enumeration = enumerationOrder(candidates());
    std::vector<std::uint32_t> rows;
    for (auto _ : state) {
        state.PauseTiming();
        rows = enumeration;
        state.ResumeTiming();
        rankRows(candidates(), rows, static_cast<CandidateColumn>(state.range(0)), state.range(1) != 0);
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

void filter(benchmark::State& state) {
    const std::vector<std::uint32_t> rows = enumerationOrder(candidates());
    std::size_t kept = 0;
    for (auto _ : state) kept = plausibleRows(candidates(), rows).size();
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["plausible"] = static_cast<double>(kept);
}

// The text alone, without the file.
void write(benchmark::State& state) {
    const std::vector<std::uint32_t> rows = enumerationOrder(candidates());
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        writeCandidateTable(candidates(), rows, '\t', [&bytes](std::string_view piece) { bytes += piece.size(); });
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void save(benchmark::State& state) {
    const std::vector<std::uint32_t> rows = enumerationOrder(candidates());
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "isoquill_candidates_bench.tsv";
    for (auto _ : state) saveCandidateTable(path, candidates(), rows, '\t');
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

constexpr int error = static_cast<int>(CandidateColumn::Error);

BENCHMARK(ranking)->ArgNames({"column", "descending"})
    ->Args({error, 0})->Args({error, 1})
    ->Args({static_cast<int>(CandidateColumn::Mass), 0})
    ->Args({static_cast<int>(CandidateColumn::Deviation), 0})
    ->Args({static_cast<int>(CandidateColumn::Rdbe), 0})
    ->Args({static_cast<int>(CandidateColumn::Formula), 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(filter)->Unit(benchmark::kMillisecond);
BENCHMARK(write)->Unit(benchmark::kMillisecond);
BENCHMARK(save)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace isoquill
