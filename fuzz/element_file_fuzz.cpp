// Fuzzes the element data file: the input is the whole "PSE.DAT" (any length,
// any bytes); whatever loads is then used to simulate a few formulas.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "compare/compare_chain.h"
#include "fuzz_checks.h"

using namespace isoquill;

namespace {

const std::string& filePath() {
    static const std::string path = "/tmp/isoquill-fuzz-" + std::to_string(::getpid()) + ".DAT";
    return path;
}

// Formulas made of the symbols the damaged file offers, plus fixed ones.
std::vector<std::string> formulasFor(const ElementTable& table) {
    std::vector<std::string> formulas = {"C6H12O6", "SnCl4", "Br2", "Xx"};
    std::string mixed;
    for (int i = 1; i <= lastFormulaElement && mixed.size() < 40; ++i) {
        const std::string_view symbol = table[static_cast<std::size_t>(i)].symbol.text();
        if (symbol.empty()) continue;
        std::string written(symbol.front() == ' ' ? symbol.substr(1) : symbol);
        formulas.push_back(written + "3");
        mixed += written + std::to_string(i % 5 + 1);
    }
    formulas.push_back(mixed);
    return formulas;
}

}  // namespace

// Nonsense data give every run peak lists and step arrays of other sizes.
// AddressSanitizer holds freed memory in a quarantine (256 MB by default) and
// keeps what one size class once held, so the process grew by up to the
// quarantine's worth in one size class after another: to 3.2 GB of the 4 GB
// limit in four minutes, while what a run holds stays a few megabytes. A
// 32 MB quarantine still spans many runs' allocations.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=32:allocator_release_to_os_interval_ms=1000";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (std::FILE* file = std::fopen(filePath().c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    ElementTable table;
    clearElementTable(table);
    try {
        loadElementFile(table, filePath());
    } catch (const InOutError& error) {
        fuzz::require(error.code() == 100, "a readable file failed with another code than 100");
    }
    CompareState state;
    // A lower limit than the program's keeps every input within a fraction
    // of a second under the sanitizers.
    state.simulation.peakTree.workLimit = 200'000;
    state.observed.observedPeaks[1] = {storeReal48(100.0L), 100.0L};
    state.observed.observedPeaks[2] = {storeReal48(101.0L), 30.0L};
    state.observed.observedNext = 3;
    for (const std::string& formula : formulasFor(table)) {
        try {
            if (runComparisonChain(state, table, formula)) {
                fuzz::checkSimulatedGroup(state.simulation.simPeaks, false);
                fuzz::checkComparison(state.comparison);
            }
        } catch (const FloatOverflowError&) {
        } catch (const ComparisonTooWideError&) {
        } catch (const SimulationTooLargeError&) {
        } catch (const EmptyPatternError&) {
        }
    }
    return 0;
}
