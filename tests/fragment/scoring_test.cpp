#include "fragment/scoring.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "chem/count_code.h"
#include "compare/peak_values.h"
#include "core_fixture.h"

namespace isoquill {
namespace {

using testing::observing;
using testing::parsed;
using testing::sameFormulaTable;
using Rows = std::vector<ResultRow>;

const ElementTable& elements() { return testing::shippedElements(); }

// Observed glucose peaks, and the comparison that gives them a mean mass.
CompareState comparedGlucose() {
    CompareState compare = observing(testing::observedGlucose());
    runComparisonChain(compare, elements(), "C6H12O6");
    return compare;
}

// The formula typed, its rows' counts set (row, von, bis), and the target and tolerance.
FragmentState fragmentRun(CompareState& compare, std::string_view formula,
                          std::initializer_list<std::tuple<int, int, int>> ranges, long double target, long double tolerance) {
    compare.formula = parsed(formula);
    FragmentState fragment;
    initRanges(fragment, compare.formula, elements());
    for (auto [row, von, bis] : ranges) setRangeCounts(fragment, row, von, bis);
    fragment.targetMass = storeReal48(target);
    fragment.massTolerance = storeReal48(tolerance);
    return fragment;
}

// Ranges around glucose. Among the candidates is C7O6 (code 7.0.6), whose
// comparison leaves a formula table of only two entries.
FragmentState glucoseRun(CompareState& compare) {
    return fragmentRun(compare, "C6H12O6", {{1, 5, 8}, {2, 0, 16}, {3, 4, 7}}, 180.16L, 0.5L);
}

void enumerate(FragmentState& fragment, const Formula& formula) {
    initCountMasses(fragment, formula);
    buildCandidates(fragment, formula);
    filterByTolerance(fragment);
}

Rows texts(const ResultTable& table) {
    Rows rows;
    for (std::size_t r = 0; r < table.rows.size(); ++r) rows.push_back(resultRowTexts(table, r));
    return rows;
}

// "Generate" as the window runs it: the long part, then what it leaves for
// the window's thread.
ResultTable generate(FragmentState& fragment, CompareState& compare) {
    GenerateResult result;
    generateCandidates(fragment, compare, elements(), result);
    if (result.scoring) applyScoring(compare, elements(), *result.scoring);
    return std::move(result.table);
}

// Only candidates closer to the target than the target itself are written.
TEST(ResultTable, RowTextsFollowTheColumnFormats) {
    const Formula glucose = parsed("C6H12O6");
    FragmentState fragment;
    fragment.codeFields = 3;
    fragment.targetMass = storeReal48(180);
    // Not written: a tiny mass whose deviation rounds to -180, and one too heavy.
    fragment.candidateList = {{{6, 12, 6}, storeReal48(180.0634L), storeReal48(12.34L)},
                              {{1, 1, 1}, storeReal48(std::ldexp(1.0L, -40)), Real48{}},
                              {{6, 0, 6}, storeReal48(179.75L), storeReal48(1234.56L)},
                              {{200, 0, 0}, storeReal48(2402.14L), storeReal48(1e30L)}};
    const ResultTable result = ausgebenRows(fragment, glucose);
    EXPECT_EQ(result.candidateCount, 4u);
    EXPECT_EQ(texts(result), (Rows{{"  180.063 : ", " 0.06 : ", "12.3", " C6  H12 O6 "},
                                   {"  179.750 : ", "-0.25 : ", "1234.6", " C6  O6 "}}));
    EXPECT_TRUE(fragment.candidateList.empty());

    // Codes with fewer fields than the formula has entries are not written;
    // a long formula is written whole.
    fragment.codeFields = 2;
    fragment.candidateList = {{{6, 12}, storeReal48(180.1L), Real48{}}};
    EXPECT_TRUE(ausgebenRows(fragment, glucose).rows.empty());
    fragment.codeFields = 15;
    fragment.targetMass = storeReal48(4000);
    fragment.candidateList = {{{150, 200, 30, 40, 5, 1, 10, 2, 3, 4, 5, 6, 7, 8, 9}, storeReal48(3999.5L), storeReal48(0.04L)}};
    EXPECT_EQ(texts(ausgebenRows(fragment, parsed("CHNOSPClBrFSiNaKCaMgAl"))),
              (Rows{{" 3999.500 : ", "-0.50 : ", " 0.0", " C150 H200 N30 O40 S5  P1  Cl10 Br2  F3  Si4  Na5  K6  Ca7  Mg8  Al9 "}}));
}

// Each error must be what the comparison chain gives for the candidate's
// formula text on its own, in a state that never saw the other candidates.
// A symbol of a capital and a blank is written without the blank, so its
// text names another element. A text of 61 characters (Cl10, eleven Cl100,
// C2) is scored as the chain cuts it, "C" for "C2", not as its counts say.
TEST(Scoring, StoresEachCandidatesComparisonError) {
    CompareState glucose = comparedGlucose(), spaced = comparedGlucose(), chlorine = observing(testing::observedOf({{39370, 100}}));
    std::pair<CompareState*, FragmentState> runs[] = {
        {&glucose, glucoseRun(glucose)},
        {&spaced, fragmentRun(spaced, "C HO", {{1, 5, 8}, {2, 0, 16}, {3, 4, 7}}, 108.1L, 1)},
        {&chlorine, fragmentRun(chlorine, "ClClClClClClClClClClClClC",
                                {{1, 10, 10}, {2, 100, 100}, {3, 100, 100}, {4, 100, 100}, {5, 100, 100}, {6, 100, 100},
                                 {7, 100, 100}, {8, 100, 100}, {9, 100, 100}, {10, 100, 100}, {11, 100, 100},
                                 {12, 100, 100}, {13, 2, 2}},
                                39370, 100)}};
    for (auto& [compare, fragment] : runs) {
        enumerate(fragment, compare->formula);
        ASSERT_FALSE(fragment.candidateList.empty());
        ScoringOutcome outcome;
        scoreCandidates(fragment, *compare, elements(), 1, outcome);
        applyScoring(*compare, elements(), outcome);
        std::string plain;
        for (const Candidate& c : fragment.candidateList) {
            plain = countCodeToFormula(countCode(c, fragment.codeFields), compare->formula);
            std::erase(plain, ' ');
            CompareState alone = observing(compare->observed);
            EXPECT_EQ(c.error, storeReal48(*runComparisonChain(alone, elements(), plain))) << plain;
        }
        EXPECT_EQ(compare->formula.formulaText, plain.substr(0, 60));
    }
    EXPECT_EQ(runs[2].second.candidateList.size(), 1u);
}

// Generate, again and again over one state as a session runs it: it scores
// only with observed peaks; each run releases both candidate lists, leaves no
// node in the merge tree and the typed formula table, and gives the same rows.
TEST(Scoring, GenerateScoresWithObservedPeaksOnlyAndLeavesTheStateAsItFoundIt) {
    CompareState compare;
    FragmentState fragment = glucoseRun(compare);
    Rows rows = texts(generate(fragment, compare));
    ASSERT_FALSE(rows.empty());
    for (const ResultRow& row : rows) EXPECT_EQ(row[2], " 0.0");
    EXPECT_EQ(compare.formula.formulaText, "C6H12O6");

    compare = comparedGlucose();
    fragment = glucoseRun(compare);
    const FormulaTable typed = compare.formula.formulaTable;
    rows = texts(generate(fragment, compare));
    ASSERT_GE(rows.size(), 3u);
    ASSERT_NE(rows.front()[2], " 0.0");
    std::string last = rows.back()[3];
    std::erase(last, ' ');
    EXPECT_EQ(compare.formula.formulaText, last);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(texts(generate(fragment, compare)), rows) << "run " << i;
        EXPECT_TRUE(fragment.previousList.empty() && fragment.candidateList.empty());
        EXPECT_EQ(compare.simulation.peakTree.liveNodeCount(), 0);
        EXPECT_TRUE(sameFormulaTable(compare.formula.formulaTable, typed));
    }
}

TEST(Scoring, AFailedGenerateKeepsNothingAndRestoresTheFormula) {
    CompareState compare = comparedGlucose();
    FragmentState fragment = glucoseRun(compare);
    const Formula typed = compare.formula;
    const auto expectRestored = [&] {
        EXPECT_TRUE(fragment.previousList.empty() && fragment.candidateList.empty());
        EXPECT_TRUE(sameFormulaTable(compare.formula.formulaTable, typed.formulaTable));
        EXPECT_EQ(compare.formula.formulaText, typed.formulaText);
    };
    fragment.candidateLimit = 2;
    EXPECT_THROW(generate(fragment, compare), TooManyCandidatesError);
    expectRestored();
    fragment.candidateLimit = defaultCandidateLimit;
    EXPECT_GE(generate(fragment, compare).rows.size(), 3u);

    compare.formula = typed;
    compare.observed.observedPeaks[4] = {storeReal48(20000), 1.0L};
    compare.observed.observedNext = 5;
    EXPECT_THROW(generate(fragment, compare), ComparisonTooWideError);
    expectRestored();
}

// Thousands of candidates, some with a symbol without data and some whose
// symbol the text path must take: the threads give the errors, the notices
// and the final comparison of one thread, bit for bit; and when a comparison
// fails, its error with the notices raised before it.
TEST(Scoring, ParallelScoresEqualSerialScores) {
    for (auto [formula, missing] : {std::pair{"CHXxOYy", 2u}, {"CHNOC(", 1u}}) {
        SCOPED_TRACE(formula);
        std::vector<std::vector<Candidate>> scored;
        std::vector<ScoringOutcome> outcomes, failed(2);
        for (int threads : {1, 3}) {
            CompareState compare = comparedGlucose();
            FragmentState fragment =
                fragmentRun(compare, formula, {{1, 0, 30}, {2, 0, 60}, {3, 0, 4}, {4, 0, 10}, {5, 0, 1}}, 300, 3);
            enumerate(fragment, compare.formula);
            scoreCandidates(fragment, compare, elements(), threads, outcomes.emplace_back());
            scored.push_back(fragment.candidateList);
            // From the 601st candidate on, the simulations are too large.
            compare.simulation.peakTree.workLimit = 1500;
            for (std::size_t i = 600; i < fragment.candidateList.size(); ++i)
                std::fill_n(fragment.candidateList[i].counts.begin(), 4, 255);
            EXPECT_THROW(scoreCandidates(fragment, compare, elements(), threads, failed[threads / 3]), SimulationTooLargeError);
        }
        ASSERT_GT(scored[0].size(), 2000u);
        ASSERT_EQ(scored[0].size(), scored[1].size());
        for (std::size_t i = 0; i < scored[0].size(); ++i) ASSERT_EQ(scored[0][i].error, scored[1][i].error) << i;
        EXPECT_NE(scored[0].front().error, scored[0].back().error);
        // Each symbol without data once, in the order of its last notice.
        EXPECT_EQ(outcomes[0].notices.size(), missing);
        EXPECT_EQ(outcomes[0].notices, outcomes[1].notices);
        EXPECT_FALSE(failed[0].notices.empty());
        EXPECT_EQ(failed[0].notices, failed[1].notices);
        EXPECT_EQ(outcomes[0].lastAccepted, outcomes[1].lastAccepted);
        ASSERT_TRUE(outcomes[1].last.error);
        EXPECT_EQ(*outcomes[0].last.error, *outcomes[1].last.error);
    }
}

}  // namespace
}  // namespace isoquill
