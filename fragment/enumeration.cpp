#include "fragment/enumeration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace isoquill {

namespace {

// The search below runs on unrounded double sums. They differ from the Real48
// running masses by less than 16 x 2^-40 times the sum of the rows' largest
// count-mass magnitudes; a margin of 1e-9 of that scale (plus target and
// tolerance) therefore keeps every combination that the exact, rounded tests
// could accept, and those tests then decide.
constexpr double searchMarginFactor = 1e-9;

// Lists up to this many entries keep their storage for the next run, so that
// repeated runs reuse memory instead of faulting in fresh pages; larger ones
// are returned at once.
constexpr std::size_t keptListEntries = std::size_t{1} << 16;

template <typename T>
void emptyList(std::vector<T>& list) {
    if (list.capacity() > keptListEntries)
        list = std::vector<T>();
    else
        list.clear();
}

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

// Between two looks at the run control; about a millisecond of search.
constexpr std::int64_t stepsPerControlLook = 1 << 16;

// The search moved `row` innermost, so its count varied fastest. Within each
// run of equal counts for the rows before it, sorting by its count restores
// the order in which the plain enumeration lists them.
void restoreRowOrder(std::vector<Candidate>& list, int row) {
    const auto samePrefix = [row](const Candidate& a, const Candidate& b) {
        return std::equal(a.counts.begin(), a.counts.begin() + row, b.counts.begin());
    };
    const auto byRowCount = [row](const Candidate& a, const Candidate& b) {
        return a.counts[row] < b.counts[row];
    };
    for (auto first = list.begin(); first != list.end();) {
        const auto last = std::find_if_not(first + 1, list.end(), [&](const auto& c) { return samePrefix(*first, c); });
        std::stable_sort(first, last, byRowCount);
        first = last;
    }
}

// Depth-first over the rows: a partial candidate is a count array and one
// running sum. Partial sums are pruned from above as the plain enumeration
// does, and also when even the smallest counts of the later rows would carry
// the complete mass to the limit (massless rows, such as symbols without
// element data, would otherwise be walked through in full); and from below
// when even the largest counts of the later rows cannot reach the window. The row with the lightest atoms is searched
// innermost: it fills the window densely, so nearly every partial candidate
// that reaches it yields a candidate.
class Search {
public:
    Search(FragmentState& state, int rows) : state_(state), rows_(rows) {}

    void run() {
        if (!prepare()) return;
        extend(0, static_cast<double>(start_));
        if (order_[rows_ - 1] != rows_ - 1) restoreRowOrder(state_.previousList, order_[rows_ - 1]);
    }

private:
    struct Row {
        std::array<double, maxAtomCount + 1> countMass;        // within von..bis
        std::array<long double, maxAtomCount + 1> exactMass;  // the Real48 values, within von..bis
        int von = 0;
        int bis = 0;
        bool ascending = true;  // countMass never falls from von to bis
        double step = 0.0;      // mean mass per atom over the range, for the first guess
        double largest = 0.0;   // largest count mass of the range
        double smallest = 0.0;  // smallest count mass of the range
    };

    // False when a row's range is empty, which empties the result.
    bool prepare() {
        double scale = 0.0;
        for (int r = 0; r < rows_; ++r) {
            Row& row = rowData_[r];
            const auto [von, bis] = countRange(state_.rangeTable[r]);
            if (bis < von) return false;
            row.von = von;
            row.bis = bis;
            double magnitude = 0.0;
            for (int k = von; k <= bis; ++k) {
                row.exactMass[k] = loadReal48(state_.countMasses[r][k]);
                const double mass = static_cast<double>(row.exactMass[k]);
                row.countMass[k] = mass;
                if (k > von && mass < row.countMass[k - 1]) row.ascending = false;
                if (k == von || mass > row.largest) row.largest = mass;
                if (k == von || mass < row.smallest) row.smallest = mass;
                magnitude = std::max(magnitude, std::fabs(mass));
            }
            if (bis > von) row.step = (row.countMass[bis] - row.countMass[von]) / (bis - von);
            scale += magnitude;
        }
        chooseOrder();
        for (int e = rows_ - 1; e > 0; --e) {
            rest_[e - 1] = rest_[e] + rowData_[order_[e]].largest;
            leastRest_[e - 1] = leastRest_[e] + rowData_[order_[e]].smallest;
        }

        const SearchWindow window = searchWindow(state_);
        start_ = window.startMass;
        limit_ = window.target + window.tolerance;
        const double t = static_cast<double>(window.target), tol = static_cast<double>(window.tolerance);
        const double margin =
            searchMarginFactor * (std::fabs(t) + std::fabs(tol) + std::fabs(static_cast<double>(start_)) + scale);
        upper_ = t + tol + margin;
        lower_ = t - tol - margin;
        return true;
    }

    // The rows in their own order, except that the row with the lightest atoms
    // moves to the end. Its count masses must not be negative: then a partial
    // sum without it never exceeds the running mass with it, and pruning that
    // sum from above stays safe.
    void chooseOrder() {
        int lightest = -1;
        for (int r = 0; r < rows_; ++r) {
            const Row& row = rowData_[r];
            if (row.ascending && row.countMass[row.von] >= 0.0 && row.step > 0.0 &&
                (lightest < 0 || row.step < rowData_[lightest].step))
                lightest = r;
        }
        int e = 0;
        for (int r = 0; r < rows_; ++r)
            if (r != lightest) order_[e++] = r;
        if (lightest >= 0) order_[e] = lightest;
    }

    bool reaches(const Row& row, int k, double partial, double rest) const {
        return partial + row.countMass[k] + rest >= lower_;
    }

    // The first count of an ascending row that can still reach the window:
    // a guess from the mean atom mass, corrected by the test itself.
    int firstCount(const Row& row, double partial, double rest) const {
        int k = row.von;
        if (row.step > 0.0) {
            const double guess = row.von + (lower_ - rest - partial - row.countMass[row.von]) / row.step;
            if (guess > row.von) k = guess >= row.bis + 1 ? row.bis + 1 : static_cast<int>(guess);
        }
        while (k > row.von && reaches(row, k - 1, partial, rest)) --k;
        while (k <= row.bis && !reaches(row, k, partial, rest)) ++k;
        return k;
    }

    void extend(int e, double partial) {
        const int r = order_[e];
        const Row& row = rowData_[r];
        const double rest = rest_[e];
        const bool last = e + 1 == rows_;
        for (int k = row.ascending ? firstCount(row, partial, rest) : row.von; k <= row.bis; ++k) {
            if (++steps_ > state_.searchStepLimit) refuse();
            if (steps_ % stepsPerControlLook == 0) lookAtControl();
            const double mass = partial + row.countMass[k];
            if (!(mass < upper_) || !(mass + leastRest_[e] < upper_)) {
                if (row.ascending) break;
                continue;
            }
            if (!row.ascending && mass + rest < lower_) continue;
            counts_[r] = static_cast<std::uint8_t>(k);
            if (last)
                addCandidate();
            else
                extend(e + 1, mass);
        }
    }

    // The plain enumeration's test, exactly: every running mass, in the rows'
    // own order, summed as count mass + previous mass and rounded, strictly
    // below the limit.
    void addCandidate() {
        long double mass = start_;
        for (int r = 0; r < rows_; ++r) {
            mass = roundReal48(rowData_[r].exactMass[counts_[r]] + mass);
            if (!(mass < limit_)) return;
        }
        if (state_.previousList.size() >= state_.candidateLimit) refuse();
        state_.previousList.push_back({counts_, storeReal48(mass), Real48{}});
    }

    void lookAtControl() {
        RunControl* control = state_.control;
        if (!control) return;
        control->found.store(state_.previousList.size(), std::memory_order_relaxed);
        if (control->cancel.load(std::memory_order_relaxed)) {
            releaseLists();
            throw RunCancelled();
        }
    }

    [[noreturn]] void refuse() {
        releaseLists();
        throw TooManyCandidatesError();
    }

    void releaseLists() {
        state_.previousList = std::vector<Candidate>();
        state_.candidateList = std::vector<Candidate>();
    }

    FragmentState& state_;
    int rows_;
    std::array<Row, rangeRowCount> rowData_;
    std::array<int, rangeRowCount> order_{};     // search level -> row
    std::array<double, rangeRowCount> rest_{};   // per search level: the most the later levels can add
    std::array<double, rangeRowCount> leastRest_{};  // per search level: the least they can add
    std::array<std::uint8_t, rangeRowCount> counts_{};  // per row
    std::int64_t steps_ = 0;
    long double start_ = 0.0L;  // the search window's start mass
    long double limit_ = 0.0L;  // target + tolerance in extended precision
    double upper_ = 0.0;        // search bounds, widened by the margin
    double lower_ = 0.0;
};

}  // namespace

std::string countCode(const Candidate& candidate, int fields) {
    char text[rangeRowCount * 4];
    char* end = text;
    for (int e = 0; e < fields; ++e) {
        if (e > 0) *end++ = '.';
        end = std::to_chars(end, text + sizeof text, candidate.counts[static_cast<std::size_t>(e)]).ptr;
    }
    return std::string(text, end);
}

const char* RunCancelled::what() const noexcept { return "cancelled"; }

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
    const SearchWindow window = searchWindow(state);
    std::erase_if(state.previousList, [&](const Candidate& combination) {
        return !(roundReal48(std::fabs(loadReal48(combination.mass) - window.target)) <= window.tolerance);
    });
    // Filtered in place and handed over: the list is never held twice.
    state.candidateList = std::move(state.previousList);
    state.previousList = std::vector<Candidate>();
    if (state.control) state.control->found.store(state.candidateList.size(), std::memory_order_relaxed);
}

void freeCandidateLists(FragmentState& state) {
    emptyList(state.previousList);
    emptyList(state.candidateList);
}

}  // namespace isoquill
