#include "compare/compare_chain.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core_fixture.h"
#include "peak_values.h"

namespace isoquill {
namespace {

using namespace testing;

std::optional<long double> run(CompareState& state, std::string_view text,
                               const ElementTable& elements = shippedElements()) {
    return runComparisonChain(state, elements, text);
}

// A refused text keeps the earlier results. Long texts are compared on their
// first sixty characters: glucose over and over, where every cut is a valid
// formula and a 61st character would turn the closing H1 into H12.
TEST(RunComparisonChain, EveryRunRecomputesFromTheTextAndARefusedTextKeepsTheResults) {
    CompareState state = observing();
    std::vector<std::string> notices;
    state.showMissingData = [&notices](const Symbol& symbol) { notices.emplace_back(symbol.text()); };
    const auto first = run(state, "C6H12O6");
    ASSERT_TRUE(first);
    const PeakList simPeaks = state.simulation.simPeaks;
    EXPECT_FALSE(run(state, "C6h12"));
    EXPECT_EQ(state.formula.formulaText, "C6h12");
    EXPECT_EQ(std::pair(state.formula.formulaTable[0].count, squaredErrorSum(state.comparison)), std::pair(-1, *first));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
    ASSERT_TRUE(run(state, "XxSnCl4"));
    EXPECT_EQ(notices, std::vector<std::string>{"Xx"});
    std::string text;
    while (text.size() < 10000) text += "C6H12O6";
    CompareState alone = observing();
    ASSERT_EQ(run(state, text), run(alone, text.substr(0, 60)));
    EXPECT_EQ(state.formula.formulaText, text.substr(0, 60));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, alone.simulation.simPeaks));
    EXPECT_EQ(run(state, "C6H12O6"), first);
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, simPeaks));
}

// A token keeps 10 characters, so a count typed after a symbol keeps 9
// digits. Fluorine has one isotope: one peak, the element's mass times the
// count, which against no observed peak gives an error of 100 squared. Two
// isotopes and the largest count give more steps than the comparison takes.
// All ten digits reach the table only as a token without a symbol, which ends
// the formula before it; so do ten digits beyond 32 bits. Counts of 0
// simulate nothing, whatever the number of isotopes.
TEST(RunComparisonChain, ExtremeCountsGiveDefinedResults) {
    CompareState state;
    PeakList fluorine;
    fluorine.append({storeReal48(loadReal48(shippedElements()[9].mass) * 214748364), 100.0L});
    EXPECT_EQ(run(state, "F2147483647"), 10000.0L);
    EXPECT_EQ(std::pair(state.formula.formulaTable[0].count, state.comparison.rowCount), std::pair(214748364, 1));
    EXPECT_TRUE(samePeaks(state.simulation.simPeaks, fluorine));
    EXPECT_THROW(run(state, "C2147483647"), ComparisonTooWideError);
    EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0);
    for (const char* text : {"x2147483647", "x9999999999", "C0H0", "C0", "F0", "O0"}) {
        EXPECT_EQ(run(state, text), 0.0L) << text;
        EXPECT_EQ(std::tuple(state.formula.formulaMass.isZero(), state.simulation.simPeaks.empty(),
                             state.comparison.rowCount, state.formula.formulaTable[0].count),
                  std::tuple(true, true, 0, text[0] == 'x' ? 2147483647 : 0)) << text;
    }
}

// Fuzz findings: two carbon entries of 327777777 atoms, thousands of peaks
// each, whose combination once ran for minutes (the observed peaks, a mass
// typed twice, play no part in it); and a damaged data file that gave neon
// abundances adding up to a little over 1, so the per-atom passes of a count
// in the thousands never pruned their list empty; so do ten xenon isotopes
// that never merge. Each finishes with a sound group (ascending masses,
// abundances finite and at most 100 up to Real48 rounding) or is refused as
// too large; any other error fails the test, and a hang never returns.
// Then many runs through one state, as a long session makes them, some ended
// by an error (iodine of ten isotopes at 1e30 leaves the Real48 range in two
// atoms): every run leaves the merge tree without a node, and every one that
// simulated gives exactly what a fresh state gives.
TEST(RunComparisonChain, NonsenseDataHugeCountsAndErrorsNeitherHangNorLeaveNodes) {
    ElementTable elements = shippedElements();
    for (auto [number, abundance] : {std::pair{54, 0.1001L}, {53, 1e30L}}) {
        elements[number].isotopeCount = 10;
        for (std::size_t j = 1; j <= 9; ++j)
            elements[number].slots[j - 1].isotope = {storeReal48(100.0L + 0.3L * j), storeReal48(abundance)};
        elements[number].lastIsotope = {storeReal48(103.0L), storeReal48(abundance)};
    }
    elements[10].slots[2].isotope.abundance = storeReal48(0.0954297L);
    CompareState twice = observing(observedOf({{200, 100}, {200, 50}}));
    for (const char* text : {"C327777777C327777777H12", "Ne18582", "Xe5", "Xe5000", "O2147483647"}) {
        try {
            if (!run(twice, text, elements)) continue;
        } catch (const SimulationTooLargeError&) {
            continue;
        }
        const PeakList& peaks = twice.simulation.simPeaks;
        for (int i = 1; i <= peaks.count(); ++i) {
            EXPECT_GT(loadReal48(peaks[i].mass), i > 1 ? loadReal48(peaks[i - 1].mass) : 0.0L) << text << i;
            EXPECT_TRUE(std::isfinite(peaks[i].abundance) && peaks[i].abundance <= 100.000001L) << text << i;
        }
    }
    const std::vector<std::string> formulas = {"C6H12O6", "SnCl4", "C2934H4615N781O897S39", "Br2Hg", "C6h",
                                               "XxC6", "F9C12H5", "C100000H200000"};
    CompareState state = observing();
    for (int i = 0; i < 200; ++i) {
        const std::string& text = formulas[static_cast<std::size_t>(i) % formulas.size()];
        if (i % 10 == 3) {
            EXPECT_THROW(run(state, "I2", elements), FloatOverflowError);
        } else if (i % 100 == 57) {  // slow, so only now and then
            EXPECT_THROW(run(state, "Sn1000000", elements), SimulationTooLargeError);
        } else {
            CompareState fresh = observing();
            const auto error = run(state, text, elements);
            ASSERT_EQ(error, run(fresh, text, elements)) << text << " in run " << i;
            // A text the syntax check refuses simulates nothing.
            EXPECT_TRUE(!error || samePeaks(state.simulation.simPeaks, fresh.simulation.simPeaks)) << text;
        }
        EXPECT_EQ(state.simulation.peakTree.liveNodeCount(), 0) << "run " << i;
    }
}

}  // namespace
}  // namespace isoquill
