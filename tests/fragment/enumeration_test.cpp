#include "fragment/enumeration.h"

#include <cmath>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "core_fixture.h"
#include "plain_enumeration.h"

namespace isoquill {
namespace {

using namespace testing;

std::vector<PlainCandidate> enumerated(FragmentState& state, const Formula& formula) {
    buildCandidates(state, formula);
    filterByTolerance(state);
    std::vector<PlainCandidate> result;
    for (const Candidate& c : state.candidateList) result.push_back({countCode(c, state.codeFields), c.mass});
    return result;
}

// A new row gets counts 0..5; a count 0 leaves its row alone; an unknown
// symbol has no mass, so its row stays new and is reset every time. Count
// masses are rounded products, zero outside the ranges.
TEST(Enumeration, RangeRowsAndCountMasses) {
    const ElementTable& elements = shippedElements();
    FragmentState state;
    initRanges(state, parsed("C6H12O6"), elements);
    EXPECT_EQ(std::tuple(state.rangeTable[1].mass, state.rangeTable[1].bis, state.rangeTable[3].mass),
              std::tuple(elements[1].mass, 5, Real48{}));
    setRangeCounts(state, 2, 3, 7);
    initRanges(state, parsed("C6N2S0"), elements);
    EXPECT_EQ(std::tuple(state.rangeTable[1].mass, state.rangeTable[1].von, state.rangeTable[2].mass),
              std::tuple(elements[7].mass, 3, elements[8].mass));
    initRanges(state, parsed("CXx"), elements);
    EXPECT_EQ(state.rangeTable[1].von, 3);
    initRanges(state, parsed("CXx"), elements);
    EXPECT_EQ(state.rangeTable[1].von, 0);
    const ElementRange& row = setRangeCounts(state, 15, -3, 250);  // clamped to the count-mass table
    EXPECT_EQ(std::tuple(&row, row.von, row.bis), std::tuple(&state.rangeTable[14], 0, 200));
    clearRangeRow(state, 15);
    EXPECT_EQ(row.bis, 0);
    state = prepared(parsed("C2H4"), {{2, 4}, {3, 1}}, 0, 0);
    EXPECT_TRUE(state.countMasses[0][1].isZero() && state.countMasses[0][5].isZero());
    EXPECT_EQ(state.countMasses[0][3], storeReal48(loadReal48(elements[6].mass) * 3));
    for (const Real48& mass : state.countMasses[1]) EXPECT_TRUE(mass.isZero());
}

// "C": 0 C lies exactly on the lower edge (kept), 2 C exactly on the upper
// one (never built). Target 0: only what is lighter than the tolerance. A
// count 0 entry ends the enumerated rows; with no entry at all, row 1 is
// still tried. Of sixteen entries only the fifteen rows that exist are
// filled and enumerated. Symbols without element data have mass 0: 201^3
// combinations of them lead nowhere when nitrogen alone reaches the limit.
TEST(Enumeration, ListsTheCombinationsWithinTheWindowFirstElementSlowest) {
    const long double carbon = loadReal48(shippedElements()[6].mass);
    struct Case { const char* formula; Ranges ranges; long double target, tolerance; std::vector<std::string> codes; };
    const Case cases[] = {
        {"CH", {{0, 2}, {0, 1}}, 15, 15, {"0.0", "0.1", "1.0", "1.1", "2.0", "2.1"}},
        {"C", {{0, 10}}, carbon, carbon, {"0", "1"}},
        {"CHO", {{1, 2}, {0, 0}, {0, 1}}, 30, 30, {"1.0.0", "1.0.1", "2.0.0", "2.0.1"}},
        {"CHO", {{1, 2}, {3, 2}, {0, 1}}, 30, 30, {}},
        {"CH", {{0, 5}, {0, 5}}, 0, 2.5, {"0.0", "0.1", "0.2"}},
        {"CH0O", {{1, 2}, {1, 1}, {1, 1}}, 20, 20, {"1", "2"}},
        {"", {{0, 2}}, 1, 1, {"0", "1", "2"}},
        {"CHNOSPFClBrINaKCaMgFeZn", Ranges(15, {1, 1}), 2000, 2000, {"1.1.1.1.1.1.1.1.1.1.1.1.1.1.1"}},
        {"XxXxXxN", {{0, 200}, {0, 200}, {0, 200}, {2, 50}}, 10, 0.5L, {}},
        {"XxXxXxN", {{0, 1}, {0, 0}, {0, 1}, {1, 3}}, 14, 0.5L, {"0.0.0.1", "0.0.1.1", "1.0.0.1", "1.0.1.1"}},
    };
    for (const Case& c : cases) {
        const Formula formula = parsed(c.formula);
        FragmentState state = prepared(formula, c.ranges, c.target, c.tolerance);
        std::vector<std::string> codes;
        for (const PlainCandidate& candidate : enumerated(state, formula)) codes.push_back(candidate.code);
        EXPECT_EQ(codes, c.codes) << c.formula;
    }
    // C + O alone lie above 21, but the hydrogen row's count masses, damaged
    // to k - 10, bring C1 H1 O1 and C1 H2 O1 back into the window.
    const Formula formula = parsed("CHO");
    FragmentState state = prepared(formula, {{0, 2}, {0, 10}, {0, 1}}, 20, 1);
    for (int k = 0; k <= 10; ++k) state.countMasses[1][k] = storeReal48(k - 10);
    EXPECT_EQ(enumerated(state, formula), plainEnumeration(state, formula));
    EXPECT_EQ(state.candidateList.size(), 2u);
}

// Over the limit nothing is kept. With no nitrogen every combination weighs
// exactly the limit 0 and none is a candidate; billions of them are refused,
// not walked through.
TEST(Enumeration, RefusesMoreCandidatesOrSearchStepsThanTheLimitAndKeepsNothing) {
    EXPECT_STREQ(TooManyCandidatesError().what(), "Zu viele Kandidaten: bitte die Bereiche oder die Toleranz einengen");
    const Formula formula = parsed("CH");
    FragmentState state = prepared(formula, {{0, 2}, {0, 1}}, 15, 15);
    state.candidateLimit = 6;
    EXPECT_EQ(enumerated(state, formula).size(), 6u);
    state.candidateLimit = 5;
    EXPECT_THROW(buildCandidates(state, formula), TooManyCandidatesError);
    EXPECT_EQ(state.previousList.capacity() + state.candidateList.capacity(), 0u);
    const Formula many = parsed("NXxXxXxXxXx");
    state = prepared(many, {{0, 1}, {0, 200}, {0, 200}, {0, 200}, {0, 200}, {0, 200}}, 0, 0);
    state.searchStepLimit = 1'000'000;
    EXPECT_THROW(buildCandidates(state, many), TooManyCandidatesError);
    EXPECT_TRUE(state.previousList.empty());
}

// The plain enumeration tries every combination with rounded arithmetic and
// no pruning from below, so it checks the search independently. Often the
// target is a candidate's mass and the tolerance its distance to another,
// which puts candidates exactly on both edges. Some rows have no mass (an
// unknown symbol), a negative one (a damaged data file), or count masses that
// are not proportional to the count, which defeats the search's first guess.
TEST(Enumeration, MatchesThePlainEnumerationOnRandomRanges) {
    const std::vector<std::string> symbols{"C", "H", "N", "O", "S", "P", "Cl", "Br", "F", "Si", "Na", "Xx"};
    std::mt19937 random(1);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int run = 0; run < 300; ++run) {
        std::string text;  // a formula of 1 to 5 entries
        Ranges ranges;
        const int elements = uniform(1, 5);
        for (int e = 0; e < elements; ++e) {
            text += symbols[uniform(0, int(symbols.size()) - 1)];
            const int von = uniform(-2, 12);
            ranges.push_back({von, uniform(0, 10) == 0 ? von - 1 : von + uniform(0, 15)});
        }
        const Formula formula = parsed(text);
        FragmentState state = prepared(formula, ranges, 0, 0);
        const int odd = uniform(0, elements - 1);
        if (uniform(0, 8) == 0) {
            state.rangeTable[odd].mass = storeReal48(-uniform(1, 40) * 0.7L);
            initCountMasses(state, formula);
        } else if (uniform(0, 8) == 0) {
            for (int k = 0; k <= maxAtomCount; ++k) state.countMasses[odd][k] = storeReal48(std::sqrt(k) * 9.5L);
        }
        long double heaviest = 0;
        for (int e = 0; e < elements; ++e) heaviest += loadReal48(state.countMasses[e][clampCount(ranges[e].second)]);
        state.targetMass = storeReal48(heaviest * uniform(0, 100) / 100);
        state.massTolerance = storeReal48(3);
        const std::vector<PlainCandidate> near = plainEnumeration(state, formula);
        state.massTolerance = storeReal48(uniform(0, 3000) / 1000.0L);
        if (near.size() >= 2 && uniform(0, 2) > 0) {
            const long double m = loadReal48(near[uniform(0, int(near.size()) - 1)].mass);
            state.targetMass = storeReal48(m);
            state.massTolerance = storeReal48(std::fabs(loadReal48(near[uniform(0, int(near.size()) - 1)].mass) - m));
        }
        EXPECT_EQ(enumerated(state, formula), plainEnumeration(state, formula)) << text << " run " << run;
    }
}

}  // namespace
}  // namespace isoquill
