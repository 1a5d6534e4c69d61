// Ranking and plausibility of the result list: rings plus double bonds
// (RDBE), the element-ratio rules that hide chemically impossible formulas,
// and stable orders over a result table's rows by any of its columns.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fragment/result_table.h"

namespace isoquill {

// The candidate table's columns, in the order they are shown and written.
// "ppm" is the deviation in parts per million of the target (mass_mode.h).
enum class CandidateColumn { Number, Mass, Deviation, Ppm, Error, Rdbe, Formula };
inline constexpr int candidateColumnCount = 7;
inline constexpr std::array<std::string_view, candidateColumnCount> candidateColumnHeads{
    "#", "Mass", "Deviation", "ppm", "Error", "RDBE", "Formula"};

// One element of a formula by its plain symbol ("C", "Cl") and its atom count.
struct AtomCount {
    std::string_view symbol;
    int count = 0;
};

// The usual lowest valence the RDBE uses: C, Si 4; N, P, B 3; O, S 2;
// H, F, Cl, Br, I 1. Any other symbol has none.
std::optional<int> lowestValence(std::string_view symbol);

// RDBE = 1 + 1/2 sum n_i (v_i - 2), a whole or half number (C6H6 4, CH3 0.5).
// None when an element with atoms has no listed valence. A symbol may occur
// more than once; its counts add up.
std::optional<long double> rdbe(std::span<const AtomCount> formula);

// The plausibility rules, each applied only where it can be computed:
// RDBE >= 0 (half numbers pass: fragments are often ions); and with at least
// one carbon the ratios to it: H/C 0.2 to 3.1 (no hydrogen is a ratio of 0),
// N/C <= 1.3, O/C <= 1.2, P/C <= 0.3, S/C <= 0.8, F/C <= 6, Cl/C <= 0.8,
// Br/C <= 0.8, Si/C <= 0.5. Limits are exact: H/C of exactly 3.1 passes.
bool isPlausible(std::span<const AtomCount> formula);

// The rules above as lines of text ("RDBE >= 0 ...", "H/C 0.2-3.1", ...),
// for a tooltip or a help text. UTF-8.
std::vector<std::string> plausibilityRuleLines();

// The rules over the rows of one result table: the symbols are looked up once,
// so a row costs a pass over its counts.
class CandidateRules {
public:
    explicit CandidateRules(const ResultTable& table);

    std::optional<long double> rdbe(const Candidate& candidate) const;
    bool isPlausible(const Candidate& candidate) const;

private:
    std::vector<int> elements_;  // per code field: the rule's element, -1 for any other
};

// 0, 1, ... up to the table's row count: enumeration order.
std::vector<std::uint32_t> enumerationOrder(const ResultTable& table);

// Sorts `rows` (indices into table.rows) by `column`, ascending or
// descending; equal values keep enumeration order (the smaller index first)
// either way. Deviation sorts by its size |mass - target|, nearest first when
// ascending; blank RDBE cells come last either way; Formula sorts by the
// plain text (C6H12O6) byte by byte. Number sorts by the index itself.
void rankRows(const ResultTable& table, std::vector<std::uint32_t>& rows, CandidateColumn column, bool descending);

// The entries of `rows` whose candidate passes the rules, in the same order.
std::vector<std::uint32_t> plausibleRows(const ResultTable& table, std::span<const std::uint32_t> rows);

}  // namespace isoquill
