// The candidates window over 1.9 M scored rows in the program as it runs
// (offscreen): opening it, a click on the Error head, the filter ticked and
// cleared, saving. The rows' memory beyond the result list is reported as
// bytes a row, held open with the filter on.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <memory>

#include "fragment/ranking.h"
#include "fragment/result_grid.h"
#include "synthetic_candidates.h"
#include "ui/program_windows.h"

// Every block operator new hands out, counted while it lives.
std::atomic<std::size_t> liveBytes{0};

void* operator new(std::size_t size) {
    void* block = std::malloc(size);
    if (!block) throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    return block;
}
void operator delete(void* block) noexcept {
    if (block) liveBytes -= malloc_usable_size(block);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace isoquill {
namespace {

struct Session {
    ProgramWindows windows;
    CandidatesWindow& window = windows.candidates;
    QHeaderView* header = window.findChild<QTableView*>("CandidateTable")->horizontalHeader();
    QCheckBox* plausibleOnly = window.findChild<QCheckBox*>("PlausibleOnly");
    std::size_t rows = 0;
};
Session* session = nullptr;

std::size_t heapInUse() { return liveBytes.load(); }

void open(benchmark::State& state) {
    session->window.close();
    for (auto _ : state) {
        session->window.showInFront();
        QApplication::processEvents();
        state.PauseTiming();
        session->window.close();
        state.ResumeTiming();
    }
    session->window.showInFront();
    state.counters["rows"] = static_cast<double>(session->rows);
}

void sortByError(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        session->header->setSortIndicator(0, Qt::AscendingOrder);
        state.ResumeTiming();
        session->header->setSortIndicator(static_cast<int>(CandidateColumn::Error), Qt::AscendingOrder);
        QApplication::processEvents();
    }
    session->header->setSortIndicator(0, Qt::AscendingOrder);
}

// state.range(0): 1 ticks the filter, 0 clears it.
void filter(benchmark::State& state) {
    const bool on = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        session->plausibleOnly->setChecked(!on);
        state.ResumeTiming();
        session->plausibleOnly->setChecked(on);
        QApplication::processEvents();
    }
    session->plausibleOnly->setChecked(false);
}

void save(benchmark::State& state) {
    const QString path = QDir::temp().filePath(QStringLiteral("isoquill_window_bench.tsv"));
    for (auto _ : state) session->window.saveTo(path);
    QFile::remove(path);
}

// Closed, then open with the filter on and sorted by Error: what the window holds.
void memory(benchmark::State& state) {
    session->window.close();
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        session->window.showInFront();
        session->header->setSortIndicator(static_cast<int>(CandidateColumn::Error), Qt::AscendingOrder);
        session->plausibleOnly->setChecked(true);
        held = heapInUse() - before;
        state.PauseTiming();
        session->plausibleOnly->setChecked(false);
        session->header->setSortIndicator(0, Qt::AscendingOrder);
        session->window.close();
        state.ResumeTiming();
    }
    state.counters["bytes_a_row"] = static_cast<double>(held) / static_cast<double>(session->rows);
}

BENCHMARK(open)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sortByError)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(filter)->ArgName("on")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(save)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(memory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace isoquill

// The program reads "PSE.DAT" from its current folder, so the session starts where the build put it.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QDir::setCurrent(QFileInfo(QStringLiteral(ISOQUILL_ELEMENT_FILE)).absolutePath());
    benchmark::Initialize(&argc, argv);
    auto owned = std::make_unique<isoquill::Session>();
    isoquill::session = owned.get();
    isoquill::ResultTable table = isoquill::benchmarks::syntheticCandidates();
    owned->rows = table.rows.size();
    owned->windows.form1.findChild<ResultGrid*>(QStringLiteral("StringGrid2"))->setTable(std::move(table));
    owned->window.showInFront();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
