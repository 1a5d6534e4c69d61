#include "fragment/scoring.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <exception>
#include <limits>
#include <thread>
#include <utility>

#include "chem/count_code.h"
#include "chem/extended_arithmetic.h"

namespace isoquill {

namespace {

constexpr std::size_t chunkSize = 256;          // candidates a thread takes at a time
constexpr std::size_t parallelFrom = 2 * chunkSize;  // fewer are scored on one thread
constexpr std::size_t noCandidate = std::numeric_limits<std::size_t>::max();

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }

// A symbol the plain formula text gives back unchanged: a capital, padded with
// a leading blank, or a capital and a small letter.
bool plainSymbol(const Symbol& symbol) {
    return symbol.length == 2 && ((symbol.chars[0] == ' ' && isCapital(symbol.chars[1])) ||
                                  (isCapital(symbol.chars[0]) && isLower(symbol.chars[1])));
}

int digitCount(int count) { return count >= 100 ? 3 : count >= 10 ? 2 : 1; }

// What every scoring thread reads.
struct ScoringPlan {
    ScoringPlan(FragmentState& fragment, const CompareState& compare, const ElementTable& elementTable)
        : candidates(fragment.candidateList), fields(fragment.codeFields), compare(compare), elementTable(elementTable),
          control(fragment.control) {
        // The text of a candidate with plain symbols parses into exactly the
        // entries its nonzero counts give, so those are filled in directly;
        // the elements are matched once, as the parser matches them.
        Formula probe;
        clearFormula(probe);
        for (int k = 0; k < fields; ++k) {
            const Symbol& symbol = compare.formula.formulaTable[static_cast<std::size_t>(k)].symbol;
            direct = direct && plainSymbol(symbol);
            probe.formulaTable[static_cast<std::size_t>(k)].symbol = symbol;
            probe.formulaTable[static_cast<std::size_t>(k)].count = 1;
            symbolLength[static_cast<std::size_t>(k)] = symbol.chars[0] == ' ' ? 1 : 2;
        }
        matchFormulaSymbols(probe, elementTable);
        for (int k = 0; k < fields; ++k)
            elements[static_cast<std::size_t>(k)] = probe.formulaTable[static_cast<std::size_t>(k)].element;
        for (std::size_t count = 0; count < countReals.size(); ++count)
            countReals[count] = storeReal48(static_cast<long double>(count));
    }

    std::string plainFormula(std::size_t i) const {
        std::string text = countCodeToFormula(countCode(candidates[i], fields), compare.formula);
        std::erase(text, ' ');
        return text;
    }

    // The plain text fits formulaText, so it would not be cut.
    bool fitsText(const Candidate& candidate) const {
        std::size_t length = 0;
        for (int k = 0; k < fields; ++k) {
            const int count = candidate.counts[static_cast<std::size_t>(k)];
            if (count > 0) length += symbolLength[static_cast<std::size_t>(k)] + static_cast<std::size_t>(digitCount(count));
        }
        return length <= formulaTextCapacity;
    }

    void fillFormula(Formula& formula, const Candidate& candidate) const {
        std::size_t e = 0;
        for (std::size_t k = 0; k < static_cast<std::size_t>(fields); ++k) {
            const int count = candidate.counts[k];
            if (count == 0) continue;
            FormulaEntry& entry = formula.formulaTable[e++];
            entry.symbol = compare.formula.formulaTable[k].symbol;
            entry.element = elements[k];
            entry.count = count;
            entry.countReal = countReals[static_cast<std::size_t>(count)];
        }
        for (; e <= rangeRowCount; ++e) formula.formulaTable[e] = FormulaEntry{Symbol{}, 0, -1, Real48{}};
    }

    std::vector<Candidate>& candidates;
    int fields;
    const CompareState& compare;
    const ElementTable& elementTable;
    RunControl* control;
    bool direct = true;
    std::array<std::size_t, rangeRowCount> symbolLength{};
    std::array<std::uint8_t, rangeRowCount> elements{};
    std::array<Real48, 256> countReals{};  // every count a candidate's byte can hold
};

// A missing-data notice, placed by its candidate and its rank among that
// candidate's notices.
struct Notice {
    std::size_t candidate;
    std::size_t rank;
    Symbol symbol;

    bool before(const Notice& other) const {
        return candidate != other.candidate ? candidate < other.candidate : rank < other.rank;
    }
};

// One scoring thread: its own comparison state, and what it found.
class Scorer {
public:
    Scorer(const ScoringPlan& plan, std::atomic<std::size_t>& next, std::atomic<std::size_t>& failedAt)
        : plan_(plan), next_(next), failedAt_(failedAt), state_(plan.compare) {
        clearFormula(state_.formula);
        state_.showMissingData = [this](const Symbol& symbol) { keepNotice(symbol); };
    }

    void run() {
        const std::size_t n = plan_.candidates.size();
        for (;;) {
            const std::size_t first = next_.fetch_add(chunkSize, std::memory_order_relaxed);
            if (first >= n || first > failedAt_.load(std::memory_order_relaxed)) return;
            chunkNotices_ = notices.size();
            const std::size_t last = std::min(first + chunkSize, n);
            for (std::size_t i = first; i < last; ++i) {
                if (plan_.control && plan_.control->cancel.load(std::memory_order_relaxed)) {
                    cancelled = true;
                    return;
                }
                if (!score(i)) return;
            }
            if (plan_.control) plan_.control->scored.fetch_add(last - first, std::memory_order_relaxed);
        }
    }

    std::vector<Notice> notices;  // per chunk, the last notice of each symbol
    std::vector<std::size_t> refused;  // candidates whose text the syntax check refused
    std::size_t failedCandidate = noCandidate;
    std::exception_ptr failure;
    bool cancelled = false;

private:
    bool score(std::size_t i) {
        Candidate& candidate = plan_.candidates[i];
        candidate_ = i;
        rank_ = 0;
        try {
            std::optional<long double> error;
            if (plan_.direct && plan_.fitsText(candidate)) {
                plan_.fillFormula(state_.formula, candidate);
                error = compareParsedFormula(state_, plan_.elementTable);
            } else {
                error = runComparisonChain(state_, plan_.elementTable, plan_.plainFormula(i));
            }
            if (error) candidate.error = storeReal48(*error);
            else refused.push_back(i);
        } catch (...) {
            failure = std::current_exception();
            failedCandidate = i;
            std::size_t seen = failedAt_.load();
            while (i < seen && !failedAt_.compare_exchange_weak(seen, i)) {
            }
        }
        return !failure;
    }

    // A chunk lies wholly before or after any other thread's candidates, so
    // its last notice of a symbol is all the merge needs.
    void keepNotice(const Symbol& symbol) {
        const Notice notice{candidate_, rank_++, symbol};
        for (auto kept = notices.begin() + static_cast<std::ptrdiff_t>(chunkNotices_); kept != notices.end(); ++kept) {
            if (kept->symbol == symbol) {
                *kept = notice;
                return;
            }
        }
        notices.push_back(notice);
    }

    const ScoringPlan& plan_;
    std::atomic<std::size_t>& next_;
    std::atomic<std::size_t>& failedAt_;
    CompareState state_;
    std::size_t candidate_ = 0;     // the candidate being scored
    std::size_t rank_ = 0;          // notices it has raised so far
    std::size_t chunkNotices_ = 0;  // where the notices of the current chunk begin
};

// Each symbol noticed up to and including candidate `last`, once, in the
// order of its last notice.
std::vector<Symbol> mergedNotices(const std::deque<Scorer>& scorers, std::size_t last) {
    std::vector<Notice> latest;
    for (const Scorer& scorer : scorers) {
        for (const Notice& notice : scorer.notices) {
            if (notice.candidate > last) continue;
            const auto same = std::find_if(latest.begin(), latest.end(),
                                           [&](const Notice& kept) { return kept.symbol == notice.symbol; });
            if (same == latest.end()) latest.push_back(notice);
            else if (same->before(notice)) *same = notice;
        }
    }
    std::sort(latest.begin(), latest.end(), [](const Notice& a, const Notice& b) { return a.before(b); });
    std::vector<Symbol> symbols;
    for (const Notice& notice : latest) symbols.push_back(notice.symbol);
    return symbols;
}

}  // namespace

int scoringThreadCount() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)); }

void scoreCandidates(FragmentState& fragment, const CompareState& compare, const ElementTable& elementTable,
                     int threads, ScoringOutcome& outcome) {
    const ExtendedArithmetic arithmetic;  // the calling thread scores too
    outcome = ScoringOutcome();
    std::vector<Candidate>& candidates = fragment.candidateList;
    if (candidates.empty() || !runCodesComplete(fragment, compare.formula)) return;

    const ScoringPlan plan(fragment, compare, elementTable);
    if (plan.control) plan.control->toScore.store(candidates.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> failedAt{noCandidate};
    const std::size_t threadCount = candidates.size() < parallelFrom ? 1 : static_cast<std::size_t>(std::max(threads, 1));
    std::deque<Scorer> scorers;  // they stay where they are: their notice handlers point at them
    for (std::size_t t = 0; t < threadCount; ++t) scorers.emplace_back(plan, next, failedAt);
    {
        std::vector<std::jthread> pool;
        for (std::size_t t = 1; t < threadCount; ++t)
            pool.emplace_back([&scorer = scorers[t]] {
                const ExtendedArithmetic arithmetic;
                scorer.run();
            });
        scorers[0].run();
    }

    if (std::any_of(scorers.begin(), scorers.end(), [](const Scorer& s) { return s.cancelled; })) throw RunCancelled();
    const std::size_t failed = failedAt.load();
    if (failed != noCandidate) {
        // Serially the notices up to the failing candidate were shown before its error.
        outcome.notices = mergedNotices(scorers, failed);
        outcome.failed = failed;
        for (Scorer& scorer : scorers)
            if (scorer.failedCandidate == failed) std::rethrow_exception(scorer.failure);
    }

    // A refused text leaves the previous comparison in place, and so its error.
    std::vector<std::size_t> refused;
    for (const Scorer& scorer : scorers) refused.insert(refused.end(), scorer.refused.begin(), scorer.refused.end());
    std::sort(refused.begin(), refused.end());
    const Real48 initialError = storeReal48(squaredErrorSum(compare.comparison));
    for (std::size_t i : refused) candidates[i].error = i == 0 ? initialError : candidates[i - 1].error;

    const std::size_t last = candidates.size() - 1;
    const bool lastRefused = !refused.empty() && refused.back() == last;
    // The last accepted candidate: below the run of refused ones at the end.
    std::size_t accepted = candidates.size();
    for (auto r = refused.rbegin(); r != refused.rend() && *r + 1 == accepted; ++r) --accepted;
    if (accepted > 0) outcome.lastAccepted = plan.plainFormula(accepted - 1);
    if (lastRefused) outcome.lastRefused = plan.plainFormula(last);
    outcome.last = {true, lastRefused ? std::nullopt : std::optional<long double>(loadReal48(candidates[last].error))};
    outcome.notices = mergedNotices(scorers, last);
}

LastComparison applyScoring(CompareState& compare, const ElementTable& elementTable, const ScoringOutcome& outcome) {
    const FormulaTable backup = compare.formula.formulaTable;
    MissingDataNotice notice = std::exchange(compare.showMissingData, MissingDataNotice{});
    try {
        if (outcome.lastAccepted) runComparisonChain(compare, elementTable, *outcome.lastAccepted);
        if (outcome.lastRefused) runComparisonChain(compare, elementTable, *outcome.lastRefused);
    } catch (...) {
        compare.showMissingData = std::move(notice);
        compare.formula.formulaTable = backup;
        throw;
    }
    compare.showMissingData = std::move(notice);
    compare.formula.formulaTable = backup;
    showNotices(compare, outcome.notices);
    return outcome.last;
}

void showNotices(const CompareState& compare, const std::vector<Symbol>& notices) {
    if (compare.showMissingData)
        for (const Symbol& symbol : notices) compare.showMissingData(symbol);
}

void generateCandidates(FragmentState& fragment, const CompareState& compare, const ElementTable& elementTable,
                        GenerateResult& result, int threads) {
    const ExtendedArithmetic arithmetic;  // the enumeration's sums are rounded like every other
    result = GenerateResult();
    try {
        applyMassMode(fragment, compare.formula, elementTable);
        initCountMasses(fragment, compare.formula);
        buildCandidates(fragment, compare.formula);
        filterByTolerance(fragment);
        if (loadReal48(compare.comparison.observedMeanMass) > 0.0L)
            scoreCandidates(fragment, compare, elementTable, threads, result.scoring.emplace());
    } catch (...) {
        freeCandidateLists(fragment);
        throw;
    }
    result.table = ausgebenRows(fragment, compare.formula);
    freeCandidateLists(fragment);
}

}  // namespace isoquill
