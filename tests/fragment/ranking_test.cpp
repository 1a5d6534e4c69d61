// RDBE and the plausibility rules on formulas whose values chemistry books
// give, and the ranked and filtered orders against plain references: a
// stable sort with a comparison on the values themselves, and a loop.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "chem/count_code.h"
#include "core_fixture.h"
#include "fragment/candidate_table.h"
#include "fragment/ranking.h"

namespace isoquill {
namespace {

using namespace testing;

// "C6H12O6" as its symbols and counts, the views pointing into the text.
std::vector<AtomCount> atoms(std::string_view formula) {
    std::vector<AtomCount> result;
    for (std::size_t at = 0; at < formula.size();) {
        const std::size_t start = at++;
        while (at < formula.size() && std::islower(static_cast<unsigned char>(formula[at]))) ++at;
        const std::size_t digits = at;
        int count = 0;
        for (; at < formula.size() && std::isdigit(static_cast<unsigned char>(formula[at])); ++at)
            count = 10 * count + (formula[at] - '0');
        result.push_back({formula.substr(start, digits - start), at == digits ? 1 : count});
    }
    return result;
}

// Each ratio edge is met exactly once and passed by one atom; sodium (no
// listed valence) leaves the RDBE out where it would decide instead.
TEST(Ranking, RdbeAndThePlausibilityRulesOnKnownFormulas) {
    struct Case {
        const char* formula;
        std::optional<long double> rdbe;
        bool plausible;
    };
    const std::optional<long double> none;
    const Case cases[] = {
        {"C6H6", 4, true},        {"C6H12O6", 1, true},     {"CH4", 0, false},        {"CH3", 0.5L, true},
        {"C2H7", -0.5L, false},   {"C2H3NaO2", none, true}, {"C7O6", 8, false},       {"H2O", 0, true},
        {"H3", -0.5L, false},     {"Xx", none, true},       {"BH3", 0, true},         {"C6H5I", 4, true},
        {"C3H4C3H2", 4, true},    {"C6H6Na0", 4, true},     {"C10H31Na", none, true}, {"C10H32Na", none, false},
        {"C10H2", 10, true},      {"C10H1", 10.5L, false},  {"C10H10N13", 12.5L, true}, {"C10H10N14", 13, false},
        {"C10H10O12", 6, true},   {"C10H10O13", 6, false},  {"C10H10P3", 7.5L, true}, {"C10H10P4", 8, false},
        {"C10H10S8", 6, true},    {"C10H10S9", 6, false},   {"C2H2F12Na", none, true}, {"C2H2F13Na", none, false},
        {"C10H10Cl8", 2, true},   {"C10H10Cl9", 1.5L, false}, {"C10H10Br8", 2, true},  {"C10H10Br9", 1.5L, false},
        {"C10H10Si5", 11, true},  {"C10H10Si6", 12, false},
    };
    for (const Case& c : cases) {
        const std::vector<AtomCount> formula = atoms(c.formula);
        EXPECT_EQ(rdbe(formula), c.rdbe) << c.formula;
        EXPECT_EQ(isPlausible(formula), c.plausible) << c.formula;
    }
}

// A table over `formula` with `rows` random candidates: counts, masses,
// errors and so deviations from few values, so that every column ties often;
// masses lie on both sides of the target at equal distances. `adjacent`
// masses and errors lie a few steps of the last Real48 bit apart, the errors
// near the ends of the Real48 range on both sides of 0; and the first three
// counts are 100 or 101, so that many formulas share their first characters.
ResultTable randomTable(std::string_view formula, std::size_t rows, int maxCount, std::mt19937& random,
                        bool adjacent = false) {
    ResultTable table;
    table.formula = parsed(formula);
    table.codeFields = formulaEntryTotal(table.formula);
    table.targetMass = storeReal48(500);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (std::size_t r = 0; r < rows; ++r) {
        Candidate c;
        for (int k = 0; k < table.codeFields; ++k) {
            const int count = uniform(0, 3) == 0 ? 0 : uniform(0, maxCount);
            c.counts[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(count);
        }
        c.mass = storeReal48(500 + uniform(-4, 4) * 0.125L + (uniform(0, 5) == 0 ? 0.1L : 0));
        c.error = storeReal48(uniform(0, 6) * 3.3L);
        if (adjacent) {
            for (std::size_t k = 0; k < 3; ++k) c.counts[k] = static_cast<std::uint8_t>(100 + uniform(0, 1));
            c.mass = storeReal48(500.25L + std::ldexp(uniform(-30, 30), -31));
            const long double near = 1 + std::ldexp(uniform(0, 30), -39);
            c.error = storeReal48(std::ldexp(uniform(0, 1) ? near : -near, uniform(0, 1) ? 120 : -120));
        }
        table.rows.push_back(c);
    }
    return table;
}

std::string referenceFormula(const ResultTable& table, std::uint32_t row) {
    std::string text = countCodeToFormula(countCode(table.rows[row], table.codeFields), table.formula);
    std::erase(text, ' ');
    return text;
}

// std::stable_sort over the values themselves (long double masses, texts
// made by the count-code path) is the reference; the ranked order must equal
// it for every column both ways, over all rows and over a shuffled subset,
// whose plausible rows, kept in its order, are those a plain loop with the
// rules on each formula's atoms finds.
// Blank RDBE cells come last both ways. A large table of adjacent values
// over the whole range puts keys in the bits that its row numbers take, and
// its formulas of eight elements share more characters than one key holds.
TEST(Ranking, RankedOrdersAndPlausibleRowsEqualAPlainStableSortAndLoop) {
    std::mt19937 random(7);
    for (const auto& [formula, size, maxCount, adjacent] :
         {std::tuple{"CHNOS", 3000, 150, false}, {"CHNaClO", 3000, 150, false}, {"CHNOPSClBrFSiI", 3000, 30, false},
          {"HNaO", 3000, 30, false}, {"CHCH", 3000, 30, false}, {"CHNOSPClBr", 70000, 150, true}}) {
        const ResultTable table = randomTable(formula, size, maxCount, random, adjacent);
        const CandidateRules rules(table);
        std::vector<std::string> texts;
        std::vector<std::optional<long double>> rdbes;
        for (std::uint32_t r = 0; r < table.rows.size(); ++r) {
            texts.push_back(referenceFormula(table, r));
            rdbes.push_back(rdbe(atoms(texts.back())));
            ASSERT_EQ(rules.rdbe(table.rows[r]), rdbes.back()) << formula << " " << texts.back();
        }
        const long double target = loadReal48(table.targetMass);
        const auto less = [&](CandidateColumn column, std::uint32_t a, std::uint32_t b) {
            const Candidate &x = table.rows[a], &y = table.rows[b];
            switch (column) {
            case CandidateColumn::Number: return a < b;
            case CandidateColumn::Mass: return loadReal48(x.mass) < loadReal48(y.mass);
            case CandidateColumn::Deviation:
            case CandidateColumn::Ppm:
                return std::fabs(loadReal48(x.mass) - target) < std::fabs(loadReal48(y.mass) - target);
            case CandidateColumn::Error: return loadReal48(x.error) < loadReal48(y.error);
            case CandidateColumn::Rdbe: return rdbes[a].value_or(1e9L) < rdbes[b].value_or(1e9L);
            case CandidateColumn::Formula: return texts[a] < texts[b];
            }
            return false;
        };
        std::vector<std::uint32_t> subset = enumerationOrder(table);
        std::shuffle(subset.begin(), subset.end(), random);
        subset.resize(1000);
        std::vector<std::uint32_t> plausible;
        for (std::uint32_t r : subset)
            if (isPlausible(atoms(texts[r]))) plausible.push_back(r);
        EXPECT_EQ(plausibleRows(table, subset), plausible) << formula;
        EXPECT_TRUE(maxCount > 30 || (plausible.size() > 50 && plausible.size() < subset.size())) << formula;
        for (int col = 0; col < candidateColumnCount; ++col) {
            const auto column = static_cast<CandidateColumn>(col);
            for (bool descending : {false, true}) {
                for (const std::vector<std::uint32_t>& rows : {enumerationOrder(table), subset}) {
                    std::vector<std::uint32_t> expected = rows, ranked = rows;
                    std::sort(expected.begin(), expected.end());
                    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
                        if (column == CandidateColumn::Rdbe && rdbes[a].has_value() != rdbes[b].has_value())
                            return rdbes[a].has_value();
                        return descending ? less(column, b, a) : less(column, a, b);
                    });
                    rankRows(table, ranked, column, descending);
                    ASSERT_EQ(ranked, expected) << formula << " " << candidateColumnHeads[static_cast<std::size_t>(col)]
                                                << (descending ? " descending " : " ascending ") << rows.size();
                }
            }
        }
    }
}

}  // namespace
}  // namespace isoquill
