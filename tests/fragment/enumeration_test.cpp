#include "fragment/enumeration.h"

#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "plain_enumeration.h"
#include "shipped_elements.h"

namespace isoquill {
namespace {

using testing::PlainCandidate;
using testing::plainEnumeration;
using Ranges = std::vector<std::pair<std::int32_t, std::int32_t>>;

Formula parsed(std::string_view text) {
    Formula formula;
    setFormulaText(formula, text);
    clearFormula(formula);
    parseFormula(formula, testing::shippedElements());
    return formula;
}

long double atomMass(int element) { return loadReal48(testing::shippedElements()[element].mass); }

// Sets up a run as "Generate" does: the formula's rows, their counts, the search parameters.
FragmentState prepared(const Formula& formula, const Ranges& ranges, long double target, long double tolerance) {
    FragmentState state;
    initRanges(state, formula, testing::shippedElements());
    for (std::size_t i = 0; i < ranges.size(); ++i)
        setRangeCounts(state, static_cast<int>(i + 1), ranges[i].first, ranges[i].second);
    state.targetMass = storeReal48(target);
    state.massTolerance = storeReal48(tolerance);
    initCountMasses(state, formula);
    return state;
}

std::vector<PlainCandidate> enumerated(FragmentState& state, const Formula& formula) {
    buildCandidates(state, formula);
    filterByTolerance(state);
    std::vector<PlainCandidate> result;
    for (const Candidate& c : state.candidateList) {
        EXPECT_TRUE(c.error.isZero());
        result.push_back({c.code, c.mass});
    }
    return result;
}

std::vector<std::string> codes(FragmentState& state, const Formula& formula) {
    std::vector<std::string> result;
    for (const PlainCandidate& c : enumerated(state, formula)) result.push_back(c.code);
    return result;
}

TEST(Enumeration, InitRangesSetsUpNewRowsAndKeepsCountsByPosition) {
    FragmentState state;
    initRanges(state, parsed("C6H12O6"), testing::shippedElements());
    for (int row : {0, 1, 2}) {
        EXPECT_EQ(state.rangeTable[row].von, 0);
        EXPECT_EQ(state.rangeTable[row].bis, 5);
    }
    EXPECT_EQ(state.rangeTable[1].mass, testing::shippedElements()[1].mass);
    EXPECT_TRUE(state.rangeTable[3].mass.isZero());

    setRangeCounts(state, 2, 3, 7);
    initRanges(state, parsed("C6N2O6"), testing::shippedElements());
    EXPECT_EQ(state.rangeTable[1].mass, testing::shippedElements()[7].mass);
    EXPECT_EQ(state.rangeTable[1].von, 3);
    EXPECT_EQ(state.rangeTable[1].bis, 7);

    setRangeCounts(state, 1, 4, 4);
    initRanges(state, parsed("C0N"), testing::shippedElements());  // count 0: row untouched
    EXPECT_EQ(state.rangeTable[0].mass, testing::shippedElements()[6].mass);
    EXPECT_EQ(state.rangeTable[0].von, 4);

    // An unknown symbol has no mass, so its row stays new and is reset every time.
    initRanges(state, parsed("Xx"), testing::shippedElements());
    EXPECT_TRUE(state.rangeTable[0].mass.isZero());
    EXPECT_EQ(state.rangeTable[0].von, 4);
    initRanges(state, parsed("Xx"), testing::shippedElements());
    EXPECT_EQ(state.rangeTable[0].von, 0);
    EXPECT_EQ(state.rangeTable[0].bis, 5);
}

TEST(Enumeration, RangeCountsAreClampedToTheCountMassTable) {
    FragmentState state;
    const ElementRange& row = setRangeCounts(state, 15, -3, 250);
    EXPECT_EQ(row.von, 0);
    EXPECT_EQ(row.bis, 200);
    EXPECT_EQ(&row, &state.rangeTable[14]);
    setRangeCounts(state, 1, INT32_MAX, INT32_MIN);
    EXPECT_EQ(state.rangeTable[0].von, 200);
    EXPECT_EQ(state.rangeTable[0].bis, 0);
    clearRangeRow(state, 15);
    EXPECT_EQ(state.rangeTable[14].bis, 0);
}

TEST(Enumeration, CountMassesAreRoundedProductsWithinTheRanges) {
    const Formula formula = parsed("C2H4");
    FragmentState state = prepared(formula, {{2, 4}, {3, 1}}, 0, 0);
    EXPECT_TRUE(state.countMasses[0][1].isZero());
    EXPECT_EQ(state.countMasses[0][3], storeReal48(atomMass(6) * 3));
    EXPECT_EQ(state.countMasses[0][4], storeReal48(atomMass(6) * 4));
    EXPECT_TRUE(state.countMasses[0][5].isZero());
    for (const Real48& mass : state.countMasses[1]) EXPECT_TRUE(mass.isZero());

    // Sixteen entries: only the fifteen rows that exist are filled and enumerated.
    const Formula wide = parsed("CHNOSPFClBrINaKCaMgFeZn");
    FragmentState many = prepared(wide, Ranges(15, {1, 1}), 2000, 2000);
    EXPECT_EQ(many.countMasses[14][1], storeReal48(atomMass(26)));
    EXPECT_EQ(codes(many, wide), std::vector<std::string>{"1.1.1.1.1.1.1.1.1.1.1.1.1.1.1"});
}

TEST(Enumeration, ListsCombinationsWithTheFirstElementSlowest) {
    const Formula formula = parsed("CH");
    FragmentState state = prepared(formula, {{0, 2}, {0, 1}}, 15, 15);
    const long double c2 = roundReal48(atomMass(6) * 2), h1 = roundReal48(atomMass(1));
    const std::vector<PlainCandidate> result = enumerated(state, formula);
    ASSERT_EQ(result.size(), 6u);
    const std::vector<std::string> expected{"0.0", "0.1", "1.0", "1.1", "2.0", "2.1"};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(result[i].code, expected[i]);
    EXPECT_EQ(result[5].mass, storeReal48(h1 + c2));  // count mass + previous mass
}

TEST(Enumeration, UpperEdgeIsExcludedAndLowerEdgeIncluded) {
    // Target and tolerance both the mass of one carbon: 0 C sits exactly on the
    // lower edge, 2 C exactly on the upper one.
    const Formula formula = parsed("C");
    FragmentState state = prepared(formula, {{0, 10}}, atomMass(6), atomMass(6));
    EXPECT_EQ(codes(state, formula), (std::vector<std::string>{"0", "1"}));
}

TEST(Enumeration, RangeRulesShapeTheCodes) {
    const Formula cho = parsed("CHO");
    FragmentState zeroRange = prepared(cho, {{1, 2}, {0, 0}, {0, 1}}, 30, 30);
    EXPECT_EQ(codes(zeroRange, cho), (std::vector<std::string>{"1.0.0", "1.0.1", "2.0.0", "2.0.1"}));

    FragmentState emptyRange = prepared(cho, {{1, 2}, {3, 2}, {0, 1}}, 30, 30);
    EXPECT_TRUE(codes(emptyRange, cho).empty());

    // Target 0: only what is lighter than the tolerance.
    const Formula ch = parsed("CH");
    FragmentState targetZero = prepared(ch, {{0, 5}, {0, 5}}, 0, 2.5);
    EXPECT_EQ(codes(targetZero, ch), (std::vector<std::string>{"0.0", "0.1", "0.2"}));

    // A count 0 entry ends the enumerated rows; with none, row 1 is still tried.
    const Formula stopped = parsed("CH0O");
    FragmentState oneRow = prepared(stopped, {{1, 2}, {1, 1}, {1, 1}}, 20, 20);
    EXPECT_EQ(codes(oneRow, stopped), (std::vector<std::string>{"1", "2"}));
    Formula none;
    clearFormula(none);
    FragmentState noEntries = prepared(none, {{0, 2}}, 1, 1);
    EXPECT_EQ(codes(noEntries, none), (std::vector<std::string>{"0", "1", "2"}));
}

TEST(Enumeration, RefusesMoreCandidatesThanTheLimitAndKeepsNothing) {
    const Formula formula = parsed("CH");
    FragmentState state = prepared(formula, {{0, 2}, {0, 1}}, 15, 15);
    state.candidateLimit = 6;
    EXPECT_EQ(codes(state, formula).size(), 6u);
    state.candidateLimit = 5;
    try {
        buildCandidates(state, formula);
        FAIL() << "no error raised";
    } catch (const TooManyCandidatesError& error) {
        EXPECT_STREQ(error.what(), "Zu viele Kandidaten: bitte die Bereiche oder die Toleranz einengen");
    }
    EXPECT_EQ(state.previousList.capacity(), 0u);
    EXPECT_EQ(state.candidateList.capacity(), 0u);

    const Formula wide = parsed("CHNO");
    FragmentState huge = prepared(wide, Ranges(4, {0, 200}), 3000, 3000);
    EXPECT_GE(huge.candidateLimit, 2'000'000u);
    EXPECT_THROW(buildCandidates(huge, wide), TooManyCandidatesError);
    EXPECT_EQ(huge.previousList.capacity(), 0u);
}

// The plain enumeration tries every combination with rounded arithmetic and
// no pruning from below, so it is an independent check of the search.
TEST(Enumeration, MatchesThePlainEnumerationOnRandomRanges) {
    const std::vector<std::string> symbols{"C", "H", "N", "O", "S", "P", "Cl", "Br", "F", "Si", "Na", "Xx"};
    std::mt19937 random(4);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    int onInclusiveEdge = 0, onStrictEdge = 0;
    for (int run = 0; run < 300; ++run) {
        std::string text;
        const int elements = uniform(1, 5);
        for (int e = 0; e < elements; ++e) text += symbols[uniform(0, static_cast<int>(symbols.size()) - 1)];
        const Formula formula = parsed(text);
        Ranges ranges;
        for (int e = 0; e < elements; ++e) {
            const int von = uniform(-2, 12);
            ranges.push_back({von, uniform(0, 10) == 0 ? von - 1 : von + uniform(0, 15)});
        }
        FragmentState state = prepared(formula, ranges, 0, 0);
        if (uniform(0, 8) == 0) state.rangeTable[uniform(0, elements - 1)].mass = storeReal48(-uniform(1, 40) * 0.7L);
        initCountMasses(state, formula);

        // Often the target is a candidate and the tolerance its distance to
        // another, which puts candidates exactly on both edges.
        long double heaviest = 0;
        for (int e = 0; e < elements; ++e) heaviest += loadReal48(state.countMasses[e][clampCount(ranges[e].second)]);
        state.targetMass = storeReal48(heaviest * uniform(0, 100) / 100);
        state.massTolerance = storeReal48(3);
        const std::vector<PlainCandidate> near = plainEnumeration(state, formula);
        const int tolerances[] = {0, 1, 10, 100, 500, 3000};
        state.massTolerance = storeReal48(tolerances[uniform(0, 5)] / 1000.0L);
        if (near.size() >= 2 && uniform(0, 2) > 0) {
            const long double m = loadReal48(near[uniform(0, static_cast<int>(near.size()) - 1)].mass);
            const long double m2 = loadReal48(near[uniform(0, static_cast<int>(near.size()) - 1)].mass);
            state.targetMass = storeReal48(m);
            state.massTolerance = storeReal48(std::fabs(m2 - m));
        }
        const long double target = loadReal48(state.targetMass), tolerance = loadReal48(state.massTolerance);
        for (const PlainCandidate& c : near) {
            const long double mass = loadReal48(c.mass);
            onStrictEdge += tolerance > 0 && mass == target + tolerance;
            onInclusiveEdge += tolerance > 0 && mass < target && roundReal48(target - mass) == tolerance;
        }
        EXPECT_EQ(enumerated(state, formula), plainEnumeration(state, formula)) << text << " run " << run;
    }
    EXPECT_GT(onStrictEdge, 40);
    EXPECT_GT(onInclusiveEdge, 40);
}

}  // namespace
}  // namespace isoquill
