#include "fragment/ranking.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>

#include "fragment/candidate_table.h"

namespace isoquill {

namespace {

// The elements the rules know. Ratio limits to carbon are in tenths, so the
// edges compare exactly: 10 H <= 31 C rather than H / C <= 3.1.
struct RuleElement {
    std::string_view symbol;
    int valence;
    int minTenths;  // lowest ratio to carbon, 0 for none
    int maxTenths;  // highest ratio to carbon, -1 for none
};

constexpr std::array<RuleElement, 12> ruleElements{{
    {"C", 4, 0, -1},
    {"H", 1, 2, 31},
    {"N", 3, 0, 13},
    {"O", 2, 0, 12},
    {"P", 3, 0, 3},
    {"S", 2, 0, 8},
    {"F", 1, 0, 60},
    {"Cl", 1, 0, 8},
    {"Br", 1, 0, 8},
    {"Si", 4, 0, 5},
    {"B", 3, 0, -1},
    {"I", 1, 0, -1},
}};
constexpr int carbon = 0;

int ruleElementIndex(std::string_view symbol) {
    for (std::size_t i = 0; i < ruleElements.size(); ++i)
        if (ruleElements[i].symbol == symbol) return static_cast<int>(i);
    return -1;
}

// Atom totals of one formula over the rule elements.
struct RuleTotals {
    std::array<std::int64_t, ruleElements.size()> atoms{};
    bool otherElement = false;  // atoms of an element without a listed valence

    void add(int element, std::int64_t count) {
        if (count <= 0) return;
        if (element < 0) {
            otherElement = true;
        } else {
            atoms[static_cast<std::size_t>(element)] += count;
        }
    }

    // 2 x RDBE = 2 + sum n (v - 2): whole, so the rule compares exactly.
    std::optional<std::int64_t> doubledRdbe() const {
        if (otherElement) return std::nullopt;
        std::int64_t doubled = 2;
        for (std::size_t i = 0; i < ruleElements.size(); ++i) doubled += atoms[i] * (ruleElements[i].valence - 2);
        return doubled;
    }

    std::optional<long double> rdbe() const {
        const std::optional<std::int64_t> doubled = doubledRdbe();
        if (!doubled) return std::nullopt;
        return static_cast<long double>(*doubled) / 2.0L;
    }

    bool plausible() const {
        const std::optional<std::int64_t> doubled = doubledRdbe();
        if (doubled && *doubled < 0) return false;
        const std::int64_t c = atoms[carbon];
        if (c < 1) return true;
        for (std::size_t i = 0; i < ruleElements.size(); ++i) {
            const std::int64_t tenths = 10 * atoms[i];
            if (tenths < ruleElements[i].minTenths * c) return false;
            if (ruleElements[i].maxTenths >= 0 && tenths > ruleElements[i].maxTenths * c) return false;
        }
        return true;
    }
};

RuleTotals totalsOf(std::span<const AtomCount> formula) {
    RuleTotals totals;
    for (const AtomCount& atom : formula) totals.add(ruleElementIndex(atom.symbol), atom.count);
    return totals;
}

std::string tenthsText(int tenths) {
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + tenths % 10);
    }
    return text;
}

// Keys that order as the values they stand for, as unsigned integers.
constexpr std::uint64_t blankKey = std::numeric_limits<std::uint64_t>::max();

// Every Real48 is a double. Made from the bytes, a million of them cost
// nothing beside the sort; loading them as long double goes through memory.
double exactDouble(const Real48& value) {
    if (value.isZero()) return 0.0;
    std::uint64_t fraction = 0;
    for (int byte = 5; byte >= 1; --byte) fraction = fraction << 8 | value.bytes[static_cast<std::size_t>(byte)];
    const std::uint64_t sign = fraction >> 39;
    fraction &= (std::uint64_t{1} << 39) - 1;
    const std::uint64_t exponent = value.bytes[0] - 129 + 1023;  // both 1.f x 2^(e - bias)
    return std::bit_cast<double>(sign << 63 | exponent << 52 | fraction << 13);
}

// A key that orders as `value` does, for values that are Real48 numbers
// (or half numbers): their doubles end in 13 zero bits, which it leaves out.
std::uint64_t orderKey(double value) {
    constexpr std::uint64_t signBit = std::uint64_t{1} << 63;
    if (value == 0.0) value = 0.0;  // -0 sorts as +0
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return ((bits & signBit) != 0 ? ~bits : bits | signBit) >> 13;
}

// Each row becomes one 64-bit word: its key, counted from the smallest (from
// the largest when descending; blanks after all), above the row index. One
// integer sort then orders by key and, on ties, by row: stable without
// stable_sort, in 8 bytes a row. When the keys span too many values for the
// bits left, their low bits go, and rows that then look equal are put in
// order by their whole keys afterwards.
template <class KeyOf>
void sortByKey(std::vector<std::uint32_t>& rows, std::size_t tableRows, bool descending, KeyOf keyOf) {
    std::uint64_t smallest = blankKey, largest = 0;
    for (std::uint32_t row : rows) {
        const std::uint64_t key = keyOf(row);
        if (key == blankKey) continue;
        smallest = std::min(smallest, key);
        largest = std::max(largest, key);
    }
    const std::uint64_t span = smallest > largest ? 0 : largest - smallest + 1;  // + 1: the blanks' place
    const auto rankOf = [&](std::uint32_t row) {
        const std::uint64_t key = keyOf(row);
        return key == blankKey ? span : descending ? largest - key : key - smallest;
    };
    const int rowBits = static_cast<int>(std::bit_width(tableRows));
    const int dropped = std::max(0, static_cast<int>(std::bit_width(span)) + rowBits - 64);
    const std::uint64_t rowMask = (std::uint64_t{1} << rowBits) - 1;
    std::vector<std::uint64_t> packed(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) packed[i] = (rankOf(rows[i]) >> dropped) << rowBits | rows[i];
    std::sort(packed.begin(), packed.end());
    const auto rowOf = [rowMask](std::uint64_t word) { return static_cast<std::uint32_t>(word & rowMask); };
    for (std::size_t start = 0, end = 0; dropped > 0 && start < packed.size(); start = end) {
        for (end = start + 1; end < packed.size() && (packed[end] >> rowBits) == (packed[start] >> rowBits); ++end) {
        }
        if (end - start == 1) continue;
        const std::uint64_t first = rankOf(rowOf(packed[start]));
        if (std::all_of(packed.begin() + static_cast<std::ptrdiff_t>(start) + 1,
                        packed.begin() + static_cast<std::ptrdiff_t>(end),
                        [&](std::uint64_t word) { return rankOf(rowOf(word)) == first; }))
            continue;
        std::sort(packed.begin() + static_cast<std::ptrdiff_t>(start), packed.begin() + static_cast<std::ptrdiff_t>(end),
                  [&](std::uint64_t a, std::uint64_t b) {
                      const std::uint64_t rankA = rankOf(rowOf(a)), rankB = rankOf(rowOf(b));
                      return rankA != rankB ? rankA < rankB : a < b;
                  });
    }
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = rowOf(packed[i]);
}

// Plain formulas as keys: their characters, each as its place among the few
// a table's formulas can hold (digits and its symbols' letters; 0 past the
// end), packed into the bits above the row index. Rows whose formulas share
// the characters of one word are put in order by the next ones, run by run,
// so the texts are made again only where they tie.
class FormulaKeys {
public:
    FormulaKeys(const ResultTable& table, bool descending) : table_(table), descending_(descending) {
        std::string characters = "0123456789";
        for (int k = 0; k < table.codeFields; ++k)
            for (char c : table.formula.formulaTable[static_cast<std::size_t>(k)].symbol.text())
                if (c != ' ') characters += c;
        std::sort(characters.begin(), characters.end(), [](char a, char b) {
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
        });
        characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
        for (std::size_t i = 0; i < characters.size(); ++i)
            codes_[static_cast<unsigned char>(characters[i])] = static_cast<std::uint8_t>(i + 1);
        codeBits_ = static_cast<int>(std::bit_width(characters.size()));
        rowBits_ = static_cast<int>(std::bit_width(table.rows.size()));
        perWord_ = static_cast<std::size_t>((64 - rowBits_) / codeBits_);
    }

    void sort(std::vector<std::uint32_t>& rows) {
        std::vector<std::uint64_t> packed(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) packed[i] = word(rows[i], 0);
        std::sort(packed.begin(), packed.end());
        refine(packed.begin(), packed.end(), 0);
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = rowOf(packed[i]);
    }

private:
    using Words = std::vector<std::uint64_t>::iterator;

    std::uint32_t rowOf(std::uint64_t word) const {
        return static_cast<std::uint32_t>(word & ((std::uint64_t{1} << rowBits_) - 1));
    }

    // Characters [from, from + perWord_) of the row's formula over its index.
    std::uint64_t word(std::uint32_t row, std::size_t from) {
        text_.clear();
        appendPlainFormula(text_, table_, table_.rows[row]);
        std::uint64_t key = 0;
        for (std::size_t c = from; c < from + perWord_; ++c)
            key = key << codeBits_ | (c < text_.size() ? codes_[static_cast<unsigned char>(text_[c])] : 0u);
        if (descending_) key = ~key & ((std::uint64_t{1} << (perWord_ * static_cast<std::size_t>(codeBits_))) - 1);
        return key << rowBits_ | row;
    }

    // Within [first, last), sorted by the characters from `from` on, runs of
    // equal words whose formulas go on past them are sorted by what follows.
    void refine(Words first, Words last, std::size_t from) {
        const std::uint64_t lastCode = (std::uint64_t{1} << codeBits_) - 1;
        while (first != last) {
            Words end = std::next(first);
            while (end != last && (*end >> rowBits_) == (*first >> rowBits_)) ++end;
            const std::uint64_t lastCharacter = (*first >> rowBits_) & lastCode;
            if (end - first > 1 && lastCharacter != (descending_ ? lastCode : 0)) {
                for (Words w = first; w != end; ++w) *w = word(rowOf(*w), from + perWord_);
                std::sort(first, end);
                refine(first, end, from + perWord_);
            }
            first = end;
        }
    }

    const ResultTable& table_;
    bool descending_;
    std::array<std::uint8_t, 256> codes_{};
    int codeBits_ = 1;
    int rowBits_ = 0;
    std::size_t perWord_ = 1;
    std::string text_;
};

}  // namespace

std::optional<int> lowestValence(std::string_view symbol) {
    const int element = ruleElementIndex(symbol);
    if (element < 0) return std::nullopt;
    return ruleElements[static_cast<std::size_t>(element)].valence;
}

std::optional<long double> rdbe(std::span<const AtomCount> formula) { return totalsOf(formula).rdbe(); }

bool isPlausible(std::span<const AtomCount> formula) { return totalsOf(formula).plausible(); }

std::vector<std::string> plausibilityRuleLines() {
    std::string valences = "Valenzen:";
    for (int valence = 4; valence >= 1; --valence) {
        std::string symbols;
        for (const RuleElement& element : ruleElements)
            if (element.valence == valence) symbols += (symbols.empty() ? "" : ", ") + std::string(element.symbol);
        valences += (valence == 4 ? " " : "; ") + symbols + " " + std::to_string(valence);
    }
    std::string ratios = "mit C \u2265 1:";
    for (const RuleElement& element : ruleElements) {
        if (element.maxTenths < 0) continue;
        ratios += (ratios.back() == ':' ? " " : ", ") + std::string(element.symbol) + "/C ";
        ratios += element.minTenths > 0 ? tenthsText(element.minTenths) + "\u2013" + tenthsText(element.maxTenths)
                                        : "\u2264 " + tenthsText(element.maxTenths);
    }
    return {"RDBE = 1 + \u00bd \u03a3 n\u1d62(v\u1d62 \u2212 2) \u2265 0 (halbe Werte bestehen)",
            valences + "; andere Elemente: keine RDBE, die Regel entf\u00e4llt", ratios};
}

CandidateRules::CandidateRules(const ResultTable& table) {
    for (int k = 0; k < table.codeFields; ++k) {
        std::string symbol(table.formula.formulaTable[static_cast<std::size_t>(k)].symbol.text());
        std::erase(symbol, ' ');
        elements_.push_back(ruleElementIndex(symbol));
    }
}

std::optional<long double> CandidateRules::rdbe(const Candidate& candidate) const {
    RuleTotals totals;
    for (std::size_t k = 0; k < elements_.size(); ++k) totals.add(elements_[k], candidate.counts[k]);
    return totals.rdbe();
}

bool CandidateRules::isPlausible(const Candidate& candidate) const {
    RuleTotals totals;
    for (std::size_t k = 0; k < elements_.size(); ++k) totals.add(elements_[k], candidate.counts[k]);
    return totals.plausible();
}

std::vector<std::uint32_t> enumerationOrder(const ResultTable& table) {
    std::vector<std::uint32_t> rows(table.rows.size());
    std::iota(rows.begin(), rows.end(), std::uint32_t{0});
    return rows;
}

void rankRows(const ResultTable& table, std::vector<std::uint32_t>& rows, CandidateColumn column, bool descending) {
    const auto& candidates = table.rows;
    switch (column) {
    case CandidateColumn::Number:
        std::sort(rows.begin(), rows.end());
        if (descending) std::reverse(rows.begin(), rows.end());
        return;
    case CandidateColumn::Mass:
        return sortByKey(rows, candidates.size(), descending, [&](std::uint32_t r) {
            return orderKey(exactDouble(candidates[r].mass));
        });
    case CandidateColumn::Ppm:  // of one target: the order of the deviation
    case CandidateColumn::Deviation: {
        const long double target = loadReal48(table.targetMass);
        return sortByKey(rows, candidates.size(), descending, [&](std::uint32_t r) {
            return orderKey(static_cast<double>(std::fabs(roundReal48(exactDouble(candidates[r].mass) - target))));
        });
    }
    case CandidateColumn::Error:
        return sortByKey(rows, candidates.size(), descending, [&](std::uint32_t r) {
            return orderKey(exactDouble(candidates[r].error));
        });
    case CandidateColumn::Rdbe: {
        const CandidateRules rules(table);
        return sortByKey(rows, candidates.size(), descending, [&](std::uint32_t r) {
            const std::optional<long double> value = rules.rdbe(candidates[r]);
            return value ? orderKey(static_cast<double>(*value)) : blankKey;
        });
    }
    case CandidateColumn::Formula:
        return FormulaKeys(table, descending).sort(rows);
    }
}

std::vector<std::uint32_t> plausibleRows(const ResultTable& table, std::span<const std::uint32_t> rows) {
    const CandidateRules rules(table);
    std::vector<std::uint32_t> kept;
    kept.reserve(rows.size());
    for (std::uint32_t row : rows)
        if (rules.isPlausible(table.rows[row])) kept.push_back(row);
    kept.shrink_to_fit();
    return kept;
}

}  // namespace isoquill
