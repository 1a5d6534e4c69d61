#include "fragment/scoring.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "chem/count_code.h"
#include "compare/peak_values.h"
#include "core_fixture.h"
#include "plain_enumeration.h"

namespace isoquill {
namespace {

using namespace testing;
using Rows = std::vector<ResultRow>;

// Observed glucose peaks, and the comparison that gives them a mean mass.
CompareState comparedGlucose() {
    CompareState compare = observing();
    runComparisonChain(compare, shippedElements(), "C6H12O6");
    return compare;
}

// The formula typed and a run prepared for it, by default ranges around glucose.
FragmentState fragmentRun(CompareState& compare, std::string_view formula = "C6H12O6",
                          const Ranges& ranges = {{5, 8}, {0, 16}, {4, 7}}, long double target = 180.16L,
                          long double tolerance = 0.5L) {
    compare.formula = parsed(formula);
    FragmentState fragment = prepared(compare.formula, ranges, target, tolerance);
    buildCandidates(fragment, compare.formula);
    filterByTolerance(fragment);
    return fragment;
}

Rows texts(const ResultTable& table) {
    Rows rows;
    for (std::size_t r = 0; r < table.rows.size(); ++r) rows.push_back(resultRowTexts(table, r));
    return rows;
}

// Only candidates closer to the target than the target itself are written,
// and only codes with as many fields as the formula has entries; a long
// formula is written whole.
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
    EXPECT_EQ(texts(ausgebenRows(fragment, glucose)), (Rows{{"  180.063 : ", " 0.06 : ", "12.3", " C6  H12 O6 "},
                                                            {"  179.750 : ", "-0.25 : ", "1234.6", " C6  O6 "}}));
    fragment.codeFields = 2;
    fragment.candidateList = {{{6, 12}, storeReal48(180.1L), Real48{}}};
    EXPECT_TRUE(ausgebenRows(fragment, glucose).rows.empty());
    fragment.codeFields = 15;
    fragment.targetMass = storeReal48(4000);
    fragment.candidateList = {
        {{150, 200, 30, 40, 5, 1, 10, 2, 3, 4, 5, 6, 7, 8, 9}, storeReal48(3999.5L), storeReal48(0.04L)}};
    EXPECT_EQ(texts(ausgebenRows(fragment, parsed("CHNOSPClBrFSiNaKCaMgAl"))),
              (Rows{{" 3999.500 : ", "-0.50 : ", " 0.0",
                     " C150 H200 N30 O40 S5  P1  Cl10 Br2  F3  Si4  Na5  K6  Ca7  Mg8  Al9 "}}));
}

// Each error must be what the comparison chain gives for the candidate's
// formula text on its own, in a state that never saw the other candidates.
// A symbol of a capital and a blank is written without the blank, so its
// text names another element. A text of 61 characters (Cl10, eleven Cl100,
// C2) is scored as the chain cuts it, "C" for "C2", not as its counts say.
TEST(Scoring, StoresEachCandidatesComparisonError) {
    CompareState glucose = comparedGlucose(), spaced = glucose, chlorine = observing(observedOf({{39370, 100}}));
    Ranges chlorineRanges(13, {100, 100});
    chlorineRanges.front() = {10, 10};
    chlorineRanges.back() = {2, 2};
    std::pair<CompareState*, FragmentState> runs[] = {
        {&glucose, fragmentRun(glucose)},
        {&spaced, fragmentRun(spaced, "C HO", {{5, 8}, {0, 16}, {4, 7}}, 108.1L, 1)},
        {&chlorine, fragmentRun(chlorine, "ClClClClClClClClClClClClC", chlorineRanges, 39370, 100)}};
    for (auto& [compare, fragment] : runs) {
        ASSERT_FALSE(fragment.candidateList.empty());
        ScoringOutcome outcome;
        scoreCandidates(fragment, *compare, shippedElements(), 1, outcome);
        applyScoring(*compare, shippedElements(), outcome);
        std::string plain;
        for (const Candidate& c : fragment.candidateList) {
            plain = countCodeToFormula(countCode(c, fragment.codeFields), compare->formula);
            std::erase(plain, ' ');
            CompareState alone = observing(compare->observed);
            EXPECT_EQ(c.error, storeReal48(*runComparisonChain(alone, shippedElements(), plain))) << plain;
        }
        EXPECT_EQ(compare->formula.formulaText, plain.substr(0, 60));
    }
    EXPECT_EQ(runs[2].second.candidateList.size(), 1u);
}

// Generate, again and again over one state as a session runs it: it scores
// only with observed peaks; each run, finished or failed, releases both
// candidate lists, leaves no node in the merge tree and the typed formula
// table, and a finished one gives the same rows.
TEST(Scoring, GenerateScoresWithObservedPeaksOnlyAndLeavesTheStateAsItFoundIt) {
    const auto generate = [](FragmentState& fragment, CompareState& compare) {
        GenerateResult result;
        generateCandidates(fragment, compare, shippedElements(), result);
        if (result.scoring) applyScoring(compare, shippedElements(), *result.scoring);
        return texts(result.table);
    };
    CompareState compare;
    FragmentState fragment = fragmentRun(compare);
    for (const ResultRow& row : generate(fragment, compare)) EXPECT_EQ(row[2], " 0.0");
    EXPECT_EQ(compare.formula.formulaText, "C6H12O6");
    compare = comparedGlucose();
    fragment = fragmentRun(compare);
    const FormulaTable typed = compare.formula.formulaTable;
    const Rows rows = generate(fragment, compare);
    ASSERT_GE(rows.size(), 3u);
    ASSERT_NE(rows.front()[2], " 0.0");
    std::string last = rows.back()[3];
    std::erase(last, ' ');
    const auto expectReleased = [&](const std::string& context) {
        EXPECT_TRUE(fragment.previousList.empty() && fragment.candidateList.empty()) << context;
        EXPECT_EQ(compare.simulation.peakTree.liveNodeCount(), 0) << context;
        EXPECT_TRUE(sameFormulaTable(compare.formula.formulaTable, typed)) << context;
        EXPECT_EQ(compare.formula.formulaText, last) << context;
    };
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(generate(fragment, compare), rows) << "run " << i;
        expectReleased("run " + std::to_string(i));
    }
    fragment.candidateLimit = 2;
    EXPECT_THROW(generate(fragment, compare), TooManyCandidatesError);
    expectReleased("too many");
    fragment.candidateLimit = defaultCandidateLimit;
    compare.observed.observedPeaks[4] = {storeReal48(20000), 1.0L};
    compare.observed.observedNext = 5;
    EXPECT_THROW(generate(fragment, compare), ComparisonTooWideError);
    expectReleased("too wide");
}

// Thousands of candidates, some with a symbol without data and some whose
// symbol the text path must take: the threads give the errors, the notices
// (each symbol without data once, in the order of its last notice) and the
// final comparison of one thread, bit for bit; and when a comparison fails,
// its error with the notices raised before it.
TEST(Scoring, ParallelScoresEqualSerialScores) {
    for (auto [formula, missing] : {std::pair{"CHXxOYy", 2u}, {"CHNOC(", 1u}}) {
        SCOPED_TRACE(formula);
        std::vector<std::vector<Candidate>> scored;
        std::vector<ScoringOutcome> outcomes, failed(2);
        for (int threads : {1, 3}) {
            CompareState compare = comparedGlucose();
            FragmentState fragment = fragmentRun(compare, formula, {{0, 30}, {0, 60}, {0, 4}, {0, 10}, {0, 1}}, 300, 3);
            scoreCandidates(fragment, compare, shippedElements(), threads, outcomes.emplace_back());
            scored.push_back(fragment.candidateList);
            // From the 601st candidate on, the simulations are too large.
            compare.simulation.peakTree.workLimit = 1500;
            for (std::size_t i = 600; i < fragment.candidateList.size(); ++i)
                std::fill_n(fragment.candidateList[i].counts.begin(), 4, 255);
            EXPECT_THROW(scoreCandidates(fragment, compare, shippedElements(), threads, failed[threads / 3]),
                         SimulationTooLargeError);
        }
        ASSERT_GT(scored[0].size(), 2000u);
        ASSERT_EQ(scored[0].size(), scored[1].size());
        for (std::size_t i = 0; i < scored[0].size(); ++i) ASSERT_EQ(scored[0][i].error, scored[1][i].error) << i;
        EXPECT_NE(scored[0].front().error, scored[0].back().error);
        EXPECT_EQ(std::tuple(outcomes[0].notices.size(), failed[0].notices.empty(), outcomes[1].last.error.has_value()),
                  std::tuple(missing, false, true));
        EXPECT_EQ(std::tuple(outcomes[0].notices, failed[0].notices, outcomes[0].lastAccepted, outcomes[0].last.error),
                  std::tuple(outcomes[1].notices, failed[1].notices, outcomes[1].lastAccepted, outcomes[1].last.error));
    }
}

}  // namespace
}  // namespace isoquill
