#include "fragment/scoring.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chem/count_code.h"
#include "shipped_elements.h"

namespace isoquill {
namespace {

const ElementTable& elements() { return testing::shippedElements(); }

// The Fragment page's formula, parsed into the shared table.
void typeFormula(CompareState& compare, std::string_view text) {
    setFormulaText(compare.formula, text);
    clearFormula(compare.formula);
    parseFormula(compare.formula, elements());
}

// Three observed peaks, and the comparison that gives them a mean mass.
void addObservedPeaks(CompareState& compare) {
    compare.observed.observedPeaks[1] = {storeReal48(180), 100.0L};
    compare.observed.observedPeaks[2] = {storeReal48(181), 6.7L};
    compare.observed.observedPeaks[3] = {storeReal48(182), 1.2L};
    compare.observed.observedNext = 4;
    runComparisonChain(compare, elements(), "C6H12O6");
}

// Ranges around glucose, target 180.16. Among the candidates is C7O6 (code
// 7.0.6), whose comparison leaves a formula table of only two entries.
FragmentState glucoseRun(CompareState& compare) {
    typeFormula(compare, "C6H12O6");
    FragmentState fragment;
    initRanges(fragment, compare.formula, elements());
    setRangeCounts(fragment, 1, 5, 8);
    setRangeCounts(fragment, 2, 0, 16);
    setRangeCounts(fragment, 3, 4, 7);
    fragment.targetMass = storeReal48(180.16L);
    return fragment;
}

Candidate candidate(std::string code, long double mass, long double error) {
    return {std::move(code), storeReal48(mass), storeReal48(error)};
}

TEST(Scoring, RowTextsFollowTheColumnFormats) {
    CompareState compare;
    typeFormula(compare, "C6H12O6");
    FragmentState fragment;
    fragment.targetMass = storeReal48(180);
    // Not written: an incomplete code, and a tiny mass whose deviation rounds to -180.
    fragment.candidateList = {candidate("6.12.6", 180.0634L, 12.34L), candidate("6.12", 180.1L, 0),
                              candidate("1.1.1", std::ldexp(1.0L, -40), 0), candidate("6.0.6", 179.75L, 1234.56L)};
    const ResultRows result = ausgebenRows(fragment, compare.formula);
    EXPECT_EQ(result.candidateCount, 4u);
    EXPECT_EQ(result.rows, (std::vector<ResultRow>{{"  180.063 : ", " 0.06 : ", "12.3", " C6  H12 O6 "},
                                                   {"  179.750 : ", "-0.25 : ", "1234.6", " C6  O6 "}}));
}

TEST(Scoring, WritesOnlyCandidatesCloserThanTheTargetItself) {
    // Tolerance above the target: 0 C and 2 C pass the filter but are not written,
    // so the grid gets three rows of which two stay blank.
    CompareState compare;
    typeFormula(compare, "C");
    FragmentState fragment;
    initRanges(fragment, compare.formula, elements());
    setRangeCounts(fragment, 1, 0, 3);
    fragment.targetMass = storeReal48(12);
    fragment.massTolerance = storeReal48(13);
    ResultRows result = generateCandidates(fragment, compare, elements());
    EXPECT_EQ(result.candidateCount, 3u);
    EXPECT_EQ(result.rows, (std::vector<ResultRow>{{"   12.011 : ", " 0.01 : ", " 0.0", " C1 "}}));
    EXPECT_TRUE(fragment.candidateList.empty());

    fragment.targetMass = storeReal48(0);
    result = generateCandidates(fragment, compare, elements());
    EXPECT_EQ(result.candidateCount, 2u);
    EXPECT_TRUE(result.rows.empty());
}

// Each error must be what the comparison chain gives for the candidate's
// formula on its own, in a state that never saw the other candidates.
TEST(Scoring, StoresEachCandidatesComparisonError) {
    CompareState compare;
    addObservedPeaks(compare);
    FragmentState fragment = glucoseRun(compare);
    const FormulaTable backup = compare.formula.formulaTable;
    initCountMasses(fragment, compare.formula);
    buildCandidates(fragment, compare.formula);
    filterByTolerance(fragment);
    ASSERT_GE(fragment.candidateList.size(), 3u);
    scoreCandidates(fragment, compare, elements(), backup);

    std::string plain;
    for (const Candidate& c : fragment.candidateList) {
        compare.formula.formulaTable = backup;
        plain = countCodeToFormula(c.code, compare.formula);
        std::erase(plain, ' ');
        CompareState alone;
        alone.observed = compare.observed;
        EXPECT_EQ(c.error, storeReal48(*runComparisonChain(alone, elements(), plain))) << plain;
    }
    EXPECT_EQ(compare.formula.formulaText, plain);
}

TEST(Scoring, GenerateScoresOnlyWithObservedPeaksAndRestoresTheFormula) {
    CompareState compare;
    FragmentState fragment = glucoseRun(compare);
    ResultRows result = generateCandidates(fragment, compare, elements());
    ASSERT_FALSE(result.rows.empty());
    for (const ResultRow& row : result.rows) EXPECT_EQ(row[2], " 0.0");
    EXPECT_EQ(compare.formula.formulaText, "C6H12O6");

    addObservedPeaks(compare);
    fragment = glucoseRun(compare);
    const FormulaTable typed = compare.formula.formulaTable;
    result = generateCandidates(fragment, compare, elements());
    const auto restored = [&] {
        return std::equal(typed.begin(), typed.end(), compare.formula.formulaTable.begin(),
                          [](const FormulaEntry& a, const FormulaEntry& b) {
                              return a.symbol == b.symbol && a.element == b.element && a.count == b.count &&
                                     a.countReal == b.countReal;
                          });
    };
    EXPECT_TRUE(restored());
    EXPECT_NE(result.rows.front()[2], " 0.0");
    std::string last = result.rows.back()[3];
    std::erase(last, ' ');
    EXPECT_EQ(compare.formula.formulaText, last);

    // A comparison that fails ends the run with the formula restored and nothing kept.
    compare.observed.observedPeaks[4] = {storeReal48(20000), 1.0L};
    compare.observed.observedNext = 5;
    EXPECT_THROW(generateCandidates(fragment, compare, elements()), ComparisonTooWideError);
    EXPECT_TRUE(restored());
    EXPECT_TRUE(fragment.candidateList.empty());
}

bool sameFormulaTable(const FormulaTable& a, const FormulaTable& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const FormulaEntry& x, const FormulaEntry& y) {
        return x.symbol == y.symbol && x.element == y.element && x.count == y.count && x.countReal == y.countReal;
    });
}

// Generate with scoring, again and again over one state as a session runs
// it: each run releases both candidate lists and leaves no node in the
// merge tree, and each gives the same rows.
TEST(Scoring, RepeatedGenerateReleasesCandidatesAndTreeNodes) {
    CompareState compare;
    addObservedPeaks(compare);
    FragmentState fragment = glucoseRun(compare);
    const FormulaTable typed = compare.formula.formulaTable;
    const ResultRows first = generateCandidates(fragment, compare, elements());
    ASSERT_GE(first.rows.size(), 3u);
    ASSERT_NE(first.rows.front()[2], " 0.0");
    for (int i = 0; i < 100; ++i) {
        const ResultRows again = generateCandidates(fragment, compare, elements());
        ASSERT_EQ(again.rows, first.rows) << "run " << i;
        EXPECT_TRUE(fragment.previousList.empty());
        EXPECT_TRUE(fragment.candidateList.empty());
        EXPECT_EQ(compare.simulation.peakTree.liveNodeCount(), 0);
        EXPECT_TRUE(sameFormulaTable(compare.formula.formulaTable, typed));
    }
}

TEST(Scoring, GenerateRefusedByTheCandidateCapKeepsNothing) {
    CompareState compare;
    addObservedPeaks(compare);
    FragmentState fragment = glucoseRun(compare);
    const FormulaTable typed = compare.formula.formulaTable;
    const std::string formulaText = compare.formula.formulaText;
    fragment.candidateLimit = 2;
    EXPECT_THROW(generateCandidates(fragment, compare, elements()), TooManyCandidatesError);
    EXPECT_TRUE(fragment.previousList.empty());
    EXPECT_TRUE(fragment.candidateList.empty());
    EXPECT_TRUE(sameFormulaTable(compare.formula.formulaTable, typed));
    EXPECT_EQ(compare.formula.formulaText, formulaText);

    // With room for them the same search lists and scores its candidates.
    fragment.candidateLimit = defaultCandidateLimit;
    EXPECT_GE(generateCandidates(fragment, compare, elements()).rows.size(), 3u);
}

}  // namespace
}  // namespace isoquill
