#include "compare/compare_chain.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shipped_elements.h"

namespace isoquill {
namespace {

std::optional<long double> run(CompareState& state, std::string_view text) {
    return runComparisonChain(state, testing::shippedElements(), text);
}

CompareState withObservedGlucose() {
    CompareState state;
    state.observed.observedPeaks[1] = {storeReal48(180.0L), 100.0L};
    state.observed.observedPeaks[2] = {storeReal48(181.0L), roundReal48(6.6L)};
    state.observed.observedPeaks[3] = {storeReal48(182.0L), roundReal48(1.2L)};
    state.observed.observedNext = 4;
    return state;
}

bool samePeaks(const PeakList& a, const PeakList& b) {
    if (a.count() != b.count()) return false;
    for (int i = 1; i <= a.count(); ++i)
        if (a[i].mass != b[i].mass || a[i].abundance != b[i].abundance) return false;
    return true;
}

TEST(RunComparisonChain, EveryRunRecomputesFromTheText) {
    CompareState state = withObservedGlucose();
    std::vector<std::string> notices;
    state.showMissingData = [&notices](const Symbol& symbol) { notices.emplace_back(symbol.text()); };
    const auto first = run(state, "C6H12O6");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, squaredErrorSum(state.comparison));
    EXPECT_NEAR(loadReal48(state.formula.formulaMass), 180.156L, 0.001L);
    EXPECT_EQ(state.comparison.rowCount, 4);
    EXPECT_NEAR(loadReal48(state.comparison.alignedSimulated[1].mass), 180.0634L, 1e-4L);
    const PeakList firstPeaks = state.simulation.simPeaks;

    ASSERT_TRUE(run(state, "XxSnCl4"));
    EXPECT_EQ(notices, std::vector<std::string>{"Xx"});
    EXPECT_EQ(run(state, "C6H12O6"), first);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, firstPeaks));
}

TEST(RunComparisonChain, RefusedTextKeepsTheEarlierResults) {
    CompareState state = withObservedGlucose();
    ASSERT_TRUE(run(state, "C6H12O6"));
    const PeakList simPeaks = state.simulation.simPeaks;
    const std::vector<Peak> alignedSimulated = state.comparison.alignedSimulated;

    EXPECT_FALSE(run(state, "C6h12"));
    EXPECT_EQ(state.formula.formulaText, "C6h12");
    EXPECT_EQ(state.formula.formulaTable[0].count, -1);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
    ASSERT_EQ(state.comparison.alignedSimulated.size(), alignedSimulated.size());
    EXPECT_EQ(std::memcmp(state.comparison.alignedSimulated.data(), alignedSimulated.data(),
                          alignedSimulated.size() * sizeof(Peak)),
              0);
}

TEST(RunComparisonChain, ProteinKeepsItsFullAtomCounts) {
    // The group's abundance-weighted mean lies near the formula mass from the
    // mean atomic masses; the per-atom passes' pruning cuts a little off
    // oxygen's heavy tail, so the tolerance is loose, but counts taken as
    // 8 bits would miss by thousands of u.
    CompareState state;
    ASSERT_TRUE(run(state, "C2934H4615N781O897S39"));
    long double weight = 0.0L, moment = 0.0L;
    for (const Peak& peak : state.simulation.simPeaks) {
        weight += peak.abundance;
        moment += peak.abundance * loadReal48(peak.mass);
    }
    EXPECT_NEAR(moment / weight, loadReal48(state.formula.formulaMass), 0.5L);
    EXPECT_EQ(state.comparison.rowCount, state.simulation.simPeaks.count());
}

}  // namespace
}  // namespace isoquill
