// Fuzzes the fragment generator: formula, range rows, target, tolerance and a
// few observed peaks are decoded from the input, then enumerated, filtered,
// scored and written as result rows over the shipped data.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "chem/count_code.h"
#include "compare/compare_chain.h"
#include "fragment/enumeration.h"
#include "fragment/scoring.h"
#include "fuzz_checks.h"
#include "shipped_elements.h"

using namespace isoquill;

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t next() { return at < size ? data[at++] : 0; }
};

constexpr std::array<const char*, 16> symbols = {"C", "H", "N", "O", "S", "P", "Cl", "Br", "F", "Si",
                                                 "Na", "Sn", "Xx", "I", "B", "Fe"};

// One scoring of the candidates on `threads` threads, on copies.
struct Scored {
    std::vector<Candidate> candidates;
    std::vector<Real48> errors;
    ScoringOutcome outcome;
    std::string failure;  // the message of the error scoring raised
};

Scored scored(const FragmentState& fragment, const CompareState& compare, int threads) {
    FragmentState copy = fragment;
    Scored result;
    try {
        scoreCandidates(copy, compare, testing::shippedElements(), threads, result.outcome);
    } catch (const std::runtime_error& e) {
        result.failure = e.what();
    }
    for (const Candidate& candidate : copy.candidateList) result.errors.push_back(candidate.error);
    result.candidates = std::move(copy.candidateList);
    return result;
}

std::string plainFormula(const FragmentState& fragment, const CompareState& compare, std::size_t i) {
    std::string text = countCodeToFormula(countCode(fragment.candidateList[i], fragment.codeFields), compare.formula);
    std::erase(text, ' ');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    CompareState compare;
    compare.simulation.peakTree.workLimit = 200'000;
    FragmentState fragment;
    // A small cap, so wide ranges reach it within one run and scoring every
    // candidate stays within the time of one run.
    fragment.candidateLimit = 2'000;
    fragment.searchStepLimit = 10'000'000;

    const int elements = 1 + in.next() % 17;
    std::string text;
    for (int i = 0; i < elements; ++i) {
        text += symbols[in.next() % symbols.size()];
        const std::uint8_t count = in.next();
        if (count % 4) text += std::to_string(count % 4 - 1);
    }
    for (int peak = in.next() % 4, slot = 1; peak > 0; --peak, ++slot) {
        compare.observed.observedPeaks[static_cast<std::size_t>(slot)] = {storeReal48(100.0L + in.next()), 1.0L + in.next()};
        compare.observed.observedNext = static_cast<std::uint8_t>(slot + 1);
    }
    if (compare.observed.count() > 0) {
        try {
            runComparisonChain(compare, testing::shippedElements(), "C6H12O6");
        } catch (const ComparisonTooWideError&) {
        }
    }

    clearFormula(compare.formula);
    setFormulaText(compare.formula, text);
    parseFormula(compare.formula, testing::shippedElements());
    initRanges(fragment, compare.formula, testing::shippedElements());
    for (int row = 1; row <= rangeRowCount && row <= elements; ++row) {
        const std::int32_t von = static_cast<std::int8_t>(in.next()) * 2;
        const std::int32_t bis = von + static_cast<std::int8_t>(in.next());
        const ElementRange& range = setRangeCounts(fragment, row, von, bis);
        fuzz::require(range.von >= 0 && range.von <= maxAtomCount && range.bis >= 0 && range.bis <= maxAtomCount,
                      "range row outside 0..200");
    }
    fragment.targetMass = storeReal48((in.next() * 256 + in.next()) / 10.0L);
    fragment.massTolerance = storeReal48(in.next() / 20.0L);
    // A last byte lowers the work limit, down to what one tin entry costs.
    if (const std::uint8_t limit = in.next()) compare.simulation.peakTree.workLimit = 100 * limit;
    const long double target = loadReal48(fragment.targetMass);
    const long double tolerance = loadReal48(fragment.massTolerance);

    try {
        initCountMasses(fragment, compare.formula);
        buildCandidates(fragment, compare.formula);
        filterByTolerance(fragment);
    } catch (const TooManyCandidatesError&) {
        fuzz::require(fragment.candidateList.empty() && fragment.previousList.empty(), "candidates kept after the cap");
        return 0;
    }
    fuzz::require(fragment.candidateList.size() <= fragment.candidateLimit, "more candidates than the cap");
    for (const Candidate& candidate : fragment.candidateList) {
        const long double mass = loadReal48(candidate.mass);
        fuzz::require(mass < target + tolerance, "candidate at or above the upper edge");
        fuzz::require(roundReal48(std::fabs(mass - target)) <= tolerance, "candidate outside the tolerance");
    }

    const FormulaTable backup = compare.formula.formulaTable;
    if (loadReal48(compare.comparison.observedMeanMass) > 0.0L) {
        // Two threads and one, each from the window's state: the same
        // errors, and the same earliest candidate refused with the same error.
        const Scored serial = scored(fragment, compare, 1);
        const Scored parallel = scored(fragment, compare, 2);
        fuzz::require(parallel.failure == serial.failure && parallel.outcome.failed == serial.outcome.failed,
                      "threads refuse another candidate than one after another");
        fuzz::require(parallel.outcome.notices == serial.outcome.notices, "threads raise other notices");
        if (serial.failure.empty()) {
            fuzz::require(parallel.errors == serial.errors, "threads score otherwise than one after another");
            fuzz::require(parallel.outcome.lastAccepted == serial.outcome.lastAccepted, "threads end on another candidate");
            // The window's replay of the last candidate from its own state agrees.
            try {
                const LastComparison last = applyScoring(compare, testing::shippedElements(), serial.outcome);
                fuzz::require(last.error == serial.outcome.last.error, "the replay gives another error");
            } catch (const std::runtime_error&) {
                fuzz::require(false, "the replay raises where scoring did not");
            }
        } else {
            // A state that never saw another candidate refuses it alike.
            CompareState alone;
            alone.observed = compare.observed;
            alone.simulation.peakTree.workLimit = compare.simulation.peakTree.workLimit;
            std::string message;
            try {
                const std::string text = plainFormula(fragment, compare, *serial.outcome.failed);
                runComparisonChain(alone, testing::shippedElements(), text);
            } catch (const std::runtime_error& e) {
                message = e.what();
            }
            fuzz::require(message == serial.failure, "a candidate alone ends otherwise than in the run");
        }
        fragment.candidateList = serial.failure.empty() ? serial.candidates : std::vector<Candidate>();
    }
    compare.formula.formulaTable = backup;
    const std::size_t candidates = fragment.candidateList.size();
    const auto written = static_cast<std::size_t>(std::count_if(
        fragment.candidateList.begin(), fragment.candidateList.end(),
        [&](const Candidate& c) { return isCompleteCountCode(countCode(c, fragment.codeFields), compare.formula); }));
    const ResultTable rows = ausgebenRows(fragment, compare.formula);
    fuzz::require(rows.rows.size() <= written, "a row written for an incomplete code");
    fuzz::require(rows.candidateCount == candidates, "row count differs from the candidates");
    for (std::size_t r = 0; r < rows.rows.size(); ++r)
        fuzz::require(resultRowTexts(rows, r)[0].size() >= 12, "a mass text narrower than its column");
    freeCandidateLists(fragment);
    return 0;
}
