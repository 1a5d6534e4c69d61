#include "fragment/enumeration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace isoquill {

namespace {

// The search below runs on unrounded double sums. They differ from the Real48
// running masses by less than 16 x 2^-40 x (sum of the largest count masses);
// a margin of 1e-9 of that scale therefore keeps every combination that the
// exact, rounded tests could accept, and those tests then decide.
constexpr double searchMarginFactor = 1e-9;

struct CountRange {
    int von;
    int bis;
};

CountRange countRange(const ElementRange& row) { return {clampCount(row.von), clampCount(row.bis)}; }

// Rows the enumeration covers: the leading entries with a count above 0, and
// row 1 even when there is none.
int enumeratedRows(const Formula& formula) {
    int n = 0;
    while (n < rangeRowCount && formula.formulaTable[n].count > 0) ++n;
    return std::max(n, 1);
}

std::string countCode(const CountCombination& combination, int fields) {
    char text[rangeRowCount * 4];
    char* end = text;
    for (int e = 0; e < fields; ++e) {
        if (e > 0) *end++ = '.';
        end = std::to_chars(end, text + sizeof text, combination.counts[e]).ptr;
    }
    return std::string(text, end);
}

// Depth-first over the rows, first row outermost, so combinations come out in
// the order of the plain enumeration. Partial sums are pruned from above as
// the plain enumeration does and from below when even the largest counts of
// the later rows cannot reach the tolerance window.
class Search {
public:
    Search(FragmentState& state, int rows) : state_(state), rows_(rows) {}

    void run() {
        if (prepare()) extend(0, 0.0);
    }

private:
    struct Level {
        std::array<double, maxAtomCount + 1> countMass{};
        int von = 0;
        int bis = 0;
        bool ascending = true;  // countMass never falls from von to bis
        double step = 0.0;      // mean mass per atom over the range, for the first guess
        double largest = 0.0;   // largest count mass of the range
        double rest = 0.0;      // the most that the later rows can add
    };

    // False when a row's range is empty, which empties the result.
    bool prepare() {
        double scale = 0.0;
        for (int e = 0; e < rows_; ++e) {
            Level& level = levels_[e];
            const auto [von, bis] = countRange(state_.rangeTable[e]);
            if (bis < von) return false;
            level.von = von;
            level.bis = bis;
            double magnitude = 0.0;
            for (int k = von; k <= bis; ++k) {
                const double mass = static_cast<double>(loadReal48(state_.countMasses[e][k]));
                level.countMass[k] = mass;
                if (k > von && mass < level.countMass[k - 1]) level.ascending = false;
                if (k == von || mass > level.largest) level.largest = mass;
                magnitude = std::max(magnitude, std::fabs(mass));
            }
            if (bis > von) level.step = (level.countMass[bis] - level.countMass[von]) / (bis - von);
            scale += magnitude;
        }
        for (int e = rows_ - 1; e > 0; --e) levels_[e - 1].rest = levels_[e].rest + levels_[e].largest;

        const long double target = loadReal48(state_.targetMass);
        const long double tolerance = loadReal48(state_.massTolerance);
        limit_ = target + tolerance;
        const double t = static_cast<double>(target), tol = static_cast<double>(tolerance);
        const double margin = searchMarginFactor * (std::fabs(t) + std::fabs(tol) + scale);
        upper_ = t + tol + margin;
        lower_ = t - tol - margin;
        return true;
    }

    bool reaches(const Level& level, int k, double partial) const {
        return partial + level.countMass[k] + level.rest >= lower_;
    }

    // The first count of an ascending row that can still reach the window:
    // a guess from the mean atom mass, corrected by the test itself.
    int firstCount(const Level& level, double partial) const {
        int k = level.von;
        if (level.step > 0.0) {
            const double guess = level.von + (lower_ - level.rest - partial - level.countMass[level.von]) / level.step;
            if (guess > level.von) k = guess >= level.bis + 1 ? level.bis + 1 : static_cast<int>(guess);
        }
        while (k > level.von && reaches(level, k - 1, partial)) --k;
        while (k <= level.bis && !reaches(level, k, partial)) ++k;
        return k;
    }

    void extend(int e, double partial) {
        const Level& level = levels_[e];
        const bool last = e + 1 == rows_;
        for (int k = level.ascending ? firstCount(level, partial) : level.von; k <= level.bis; ++k) {
            const double mass = partial + level.countMass[k];
            if (!(mass < upper_)) {
                if (level.ascending) break;
                continue;
            }
            if (!level.ascending && mass + level.rest < lower_) continue;
            counts_[e] = static_cast<std::uint8_t>(k);
            if (last)
                addCandidate();
            else
                extend(e + 1, mass);
        }
    }

    // The plain enumeration's test, exactly: every running mass, summed as
    // count mass + previous mass and rounded, strictly below the limit.
    void addCandidate() {
        long double mass = 0.0L;
        for (int e = 0; e < rows_; ++e) {
            mass = roundReal48(loadReal48(state_.countMasses[e][counts_[e]]) + mass);
            if (!(mass < limit_)) return;
        }
        if (state_.previousList.size() >= state_.candidateLimit) {
            freeCandidateLists(state_);
            throw TooManyCandidatesError();
        }
        state_.previousList.push_back({counts_, storeReal48(mass)});
    }

    FragmentState& state_;
    int rows_;
    std::array<Level, rangeRowCount> levels_{};
    std::array<std::uint8_t, rangeRowCount> counts_{};
    long double limit_ = 0.0L;  // targetMass + massTolerance in extended precision
    double upper_ = 0.0;        // search bounds, widened by the margin
    double lower_ = 0.0;
};

}  // namespace

TooManyCandidatesError::TooManyCandidatesError()
    : std::runtime_error("Zu viele Kandidaten: bitte die Bereiche oder die Toleranz einengen") {}

std::int32_t clampCount(std::int32_t count) { return std::clamp(count, 0, maxAtomCount); }

const ElementRange& setRangeCounts(FragmentState& state, int row, std::int32_t von, std::int32_t bis) {
    ElementRange& range = state.rangeTable.at(static_cast<std::size_t>(row - 1));
    range.von = clampCount(von);
    range.bis = clampCount(bis);
    return range;
}

void clearRangeRow(FragmentState& state, int row) { state.rangeTable.at(static_cast<std::size_t>(row - 1)) = ElementRange{}; }

void initRanges(FragmentState& state, const Formula& formula, const ElementTable& elementTable) {
    for (std::size_t i = 0; i < rangeRowCount; ++i) {
        const FormulaEntry& entry = formula.formulaTable[i];
        if (entry.count <= 0) continue;
        ElementRange& row = state.rangeTable[i];
        if (loadReal48(row.mass) < 1.0L) {
            row.von = 0;
            row.bis = 5;
        }
        row.mass = elementRecord(elementTable, entry.element).mass;
    }
}

void initCountMasses(FragmentState& state, const Formula& formula) {
    state.countMasses = {};
    const int entries = std::min(formulaEntryTotal(formula), rangeRowCount);
    for (int e = 0; e < entries; ++e) {
        const long double mass = loadReal48(state.rangeTable[e].mass);
        const auto [von, bis] = countRange(state.rangeTable[e]);
        for (int k = von; k <= bis; ++k) state.countMasses[e][k] = storeReal48(mass * k);
    }
}

void buildCandidates(FragmentState& state, const Formula& formula) {
    freeCandidateLists(state);
    state.codeFields = enumeratedRows(formula);
    Search(state, state.codeFields).run();
}

void filterByTolerance(FragmentState& state) {
    const long double target = loadReal48(state.targetMass);
    const long double tolerance = loadReal48(state.massTolerance);
    state.candidateList.clear();
    for (const CountCombination& combination : state.previousList) {
        if (roundReal48(std::fabs(loadReal48(combination.mass) - target)) <= tolerance)
            state.candidateList.push_back({countCode(combination, state.codeFields), combination.mass, Real48{}});
    }
    state.previousList = std::vector<CountCombination>();
}

void freeCandidateLists(FragmentState& state) {
    state.previousList = std::vector<CountCombination>();
    state.candidateList = std::vector<Candidate>();
}

}  // namespace isoquill
